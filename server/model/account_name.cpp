#include "model/account_name.h"

#include "model/text_checks.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/uspoof.h>

#include <memory>
#include <stdexcept>

namespace qinglan::caseservice {

namespace {

struct SpoofCheckerDeleter {
    void operator()(USpoofChecker* checker) const { uspoof_close(checker); }
};

// Set up once; ICU allows the check and skeleton calls from many threads at a time.
const USpoofChecker& spoofChecker() {
    static const std::unique_ptr<USpoofChecker, SpoofCheckerDeleter> checker = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<USpoofChecker, SpoofCheckerDeleter> made(uspoof_open(&status));
        uspoof_setChecks(made.get(), USPOOF_RESTRICTION_LEVEL | USPOOF_INVISIBLE | USPOOF_MIXED_NUMBERS, &status);
        uspoof_setRestrictionLevel(made.get(), USPOOF_MODERATELY_RESTRICTIVE);
        if (U_FAILURE(status)) throw std::runtime_error(std::string("ICU spoof checker: ") + u_errorName(status));
        return made;
    }();
    return *checker;
}

bool controlOrFormat(UChar32 c) {
    switch (u_charType(c)) {
    case U_CONTROL_CHAR:
    case U_FORMAT_CHAR:
    case U_SURROGATE:
    case U_PRIVATE_USE_CHAR:
    case U_UNASSIGNED:
    case U_LINE_SEPARATOR:
    case U_PARAGRAPH_SEPARATOR: return true;
    default: return false;
    }
}

// Inside a name the only blank is the ordinary space (NFKC has already turned the no-break
// and full-width spaces into it).
bool refusedCharacter(UChar32 c) { return controlOrFormat(c) || (u_isUWhiteSpace(c) && c != u' '); }

icu::UnicodeString trimmed(const icu::UnicodeString& text) {
    int32_t start = 0;
    int32_t end = text.length();
    while (start < end && u_isUWhiteSpace(text.char32At(start))) start = text.moveIndex32(start, 1);
    while (end > start) {
        const int32_t before = text.moveIndex32(end, -1);
        if (!u_isUWhiteSpace(text.char32At(before))) break;
        end = before;
    }
    return icu::UnicodeString(text, start, end - start);
}

// NFKC and trimmed; nullopt with the reason when the text cannot be a name.
std::optional<icu::UnicodeString> normalised(std::string_view raw, std::string& why) {
    if (raw.size() > kMaxNameBytes || !isValidUtf8(raw)) {
        why = "用户名无效";
        return std::nullopt;
    }
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfkc = icu::Normalizer2::getNFKCInstance(status);
    if (U_FAILURE(status)) throw std::runtime_error(std::string("ICU NFKC: ") + u_errorName(status));
    const auto input = icu::UnicodeString::fromUTF8(icu::StringPiece(raw.data(), static_cast<int32_t>(raw.size())));
    // Refused characters are looked for before normalising too: NFKC keeps most of them,
    // but the check must not depend on that.
    for (int32_t i = 0; i < input.length(); i = input.moveIndex32(i, 1)) {
        const UChar32 c = input.char32At(i);
        if (controlOrFormat(c)) {
            why = "用户名不能含有控制字符或格式字符";
            return std::nullopt;
        }
    }
    icu::UnicodeString name = trimmed(nfkc->normalize(input, status));
    if (U_FAILURE(status)) throw std::runtime_error(std::string("ICU NFKC: ") + u_errorName(status));
    if (name.isEmpty()) {
        why = "用户名不能为空";
        return std::nullopt;
    }
    for (int32_t i = 0; i < name.length(); i = name.moveIndex32(i, 1)) {
        if (refusedCharacter(name.char32At(i))) {
            why = "用户名不能含有控制字符、格式字符或特殊空白";
            return std::nullopt;
        }
    }
    if (name.countChar32() > static_cast<int32_t>(kMaxNameCodePoints)) {
        why = "用户名太长（最多32个字）";
        return std::nullopt;
    }
    return name;
}

icu::UnicodeString skeletonOf(const icu::UnicodeString& text) {
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString skeleton;
    uspoof_getSkeletonUnicodeString(&spoofChecker(), 0, text, skeleton, &status);
    if (U_FAILURE(status)) throw std::runtime_error(std::string("ICU skeleton: ") + u_errorName(status));
    return skeleton;
}

icu::UnicodeString folded(icu::UnicodeString text) {
    text.foldCase();
    return text;
}

std::string utf8(const icu::UnicodeString& text) {
    std::string out;
    text.toUTF8String(out);
    return out;
}

std::string keyOf(const icu::UnicodeString& name) { return utf8(skeletonOf(folded(name))); }

// The skeleton first, while "I" and "l" still meet; folding then lets "Modern" meet "rnodern"
// through the second skeleton, whose prototypes ("O" for "0") are folded last.
std::string lookalikeKeyOf(const icu::UnicodeString& name) {
    return utf8(folded(skeletonOf(folded(skeletonOf(name)))));
}

}  // namespace

std::optional<AccountName> accountNameForRegistration(std::string_view raw, std::string& why) {
    const auto name = normalised(raw, why);
    if (!name) return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    const int32_t failed = uspoof_checkUnicodeString(&spoofChecker(), *name, nullptr, &status);
    if (U_FAILURE(status)) throw std::runtime_error(std::string("ICU spoof check: ") + u_errorName(status));
    if (failed != 0) {
        why = "用户名混用了容易混淆的文字（例如拉丁字母和西里尔字母）";
        return std::nullopt;
    }
    AccountName out;
    name->toUTF8String(out.display);
    out.key = keyOf(*name);
    out.lookalike = lookalikeKeyOf(*name);
    return out;
}

std::optional<std::string> accountNameKey(std::string_view raw) {
    std::string why;
    const auto name = normalised(raw, why);
    if (!name) return std::nullopt;
    return keyOf(*name);
}

std::string NameKeyAllocator::allocate(std::int64_t id, std::string_view name, bool& refused) {
    std::string why;
    const auto valid = normalised(name, why);
    std::string key = valid ? (kind_ == Kind::Key ? keyOf(*valid) : lookalikeKeyOf(*valid)) : std::string();
    refused = key.empty() || taken_.contains(key);
    if (refused) key = "\x01" + std::to_string(id);
    taken_.insert(key);
    return key;
}

}  // namespace qinglan::caseservice
