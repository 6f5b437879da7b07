#include "language/traditional_text.h"

#include <opencc/opencc.h>

#include <QByteArray>
#include <QtGlobal>
#include <mutex>

namespace language {
namespace {

// Where OpenCC's choice of character is not the one the field writes. Each entry is looked for
// in the 简体 text (the longest first); it is written as given and the text around it goes
// through OpenCC.
struct FieldChoice {
    QStringView simplified;
    QStringView taiwan;
    QStringView hongKong;
};

const FieldChoice kFieldChoices[] = {
    // The branch 丑; OpenCC writes 醜 ("ugly") in 丑土, 子丑空, 巳酉丑 ….
    {u"丑", u"丑", u"丑"},
    // The field writes 沖 for every clash (六沖, 日沖, 月沖, 暗沖, 回頭沖); OpenCC gives 衝 outside 六冲.
    {u"冲", u"沖", u"沖"},
    // One element overcoming another is 剋 (生剋, 回頭剋, 伏剋飛); OpenCC keeps 克 except in 相克.
    {u"克", u"剋", u"剋"},
    // The hexagram 澤山咸 and the spirit 咸池; OpenCC gives 鹹 ("salty") after 泽山.
    {u"咸", u"咸", u"咸"},
    // 占 is to divine (占類, 占事, 占婚姻); OpenCC gives 佔 ("to occupy").
    {u"占", u"占", u"占"},
    // The heavenly stems (天干, 年干, 日干); OpenCC gives 幹 ("trunk") in 年干.
    {u"干", u"干", u"干"},
};

const FieldChoice* choiceAt(QStringView text, qsizetype at) {
    const FieldChoice* found = nullptr;
    for (const FieldChoice& choice : kFieldChoices)
        if (text.mid(at).startsWith(choice.simplified) &&
            (!found || choice.simplified.size() > found->simplified.size()))
            found = &choice;
    return found;
}

// One OpenCC converter of a profile, opened on first use and shared by the threads in turn.
class Converter {
public:
    explicit Converter(const char* profile) {
        handle_ = opencc_open(profile);
        if (!handle_ || handle_ == reinterpret_cast<opencc_t>(-1)) {
            // Said once: the texts would otherwise show 简体 where 繁體 was asked for, unexplained.
            qCritical("qinglan: OpenCC cannot open its profile %s (%s); the generated texts stay in 简体中文", profile,
                      opencc_error());
            handle_ = nullptr;
        }
    }
    ~Converter() {
        if (handle_) opencc_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    QString convert(QStringView text) {
        if (!handle_ || text.isEmpty()) return text.toString();
        const QByteArray utf8 = text.toUtf8();
        char* converted = nullptr;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            converted = opencc_convert_utf8(handle_, utf8.constData(), std::size_t(utf8.size()));
        }
        if (!converted) return text.toString();
        QString out = QString::fromUtf8(converted);
        opencc_convert_utf8_free(converted);
        return out;
    }

private:
    opencc_t handle_ = nullptr;
    std::mutex mutex_;
};

Converter& converterOf(Language region) {
    if (region == Language::TraditionalHongKong) {
        static Converter hongKong("s2hk.json");
        return hongKong;
    }
    static Converter taiwan("s2twp.json");
    return taiwan;
}

// The text through a converter, the field's choices (of `region`) written as they are.
QString converted(const QString& simplified, Converter& converter, Language region) {
    const QStringView text(simplified);
    QString out;
    out.reserve(simplified.size());
    qsizetype runStart = 0;
    for (qsizetype at = 0; at < text.size();) {
        const FieldChoice* choice = choiceAt(text, at);
        if (!choice) {
            ++at;
            continue;
        }
        out += converter.convert(text.mid(runStart, at - runStart));
        out += region == Language::TraditionalHongKong ? choice->hongKong : choice->taiwan;
        at += choice->simplified.size();
        runStart = at;
    }
    out += converter.convert(text.mid(runStart));
    return out;
}

}  // namespace

QString toTraditional(const QString& simplified, Language region) {
    if (!isTraditional(region) || simplified.isEmpty()) return simplified;
    return converted(simplified, converterOf(region), region);
}

bool holdsNoSimplified(const QString& text) {
    static Converter characters("s2tw.json");
    return converted(text, characters, Language::TraditionalTaiwan) == text;
}

}  // namespace language
