#include "casting/cast_text.h"

#include <array>

#include "calendar/ganzhi.h"
#include "chart/cast_pillars.h"
#include "chart/catalogue.h"

namespace casting {
namespace {

// The trigrams in the order of the 64-name text: 乾 兑 离 震 巽 坎 艮 坤.
constexpr std::array<const char16_t*, 8> kTextOrder = {u"111", u"211", u"121", u"221", u"112", u"212", u"122", u"222"};

bool isBranch(QChar c) { return cal::branchIndex(QString(c).toStdString()) >= 0; }

// The short name of a full name: the trigram of a doubled hexagram, else what follows the natures.
QString shortName(const QString& name) { return name.at(1) == u'为' ? name.left(1) : name.mid(2); }

}  // namespace

bool isCaseNumberInput(const QString& text) { return text.size() == 14 && text.at(0) >= u'0' && text.at(0) <= u'9'; }

const QString& allHexagramNames() {
    static const QString names = [] {
        QString all;
        for (const char16_t* lower : kTextOrder)
            for (const char16_t* upper : kTextOrder)
                all += chart::hexagramName(QString::fromUtf16(upper) + QString::fromUtf16(lower));
        return all;
    }();
    return names;
}

bool expandShortNames(QString& text) {
    bool any = false;
    for (const char16_t* lower : kTextOrder)
        for (const char16_t* upper : kTextOrder) {
            const QString name = chart::hexagramName(QString::fromUtf16(upper) + QString::fromUtf16(lower));
            const QString brief = shortName(name);
            if (!text.contains(brief)) continue;
            any = true;
            text.replace(brief, name);
        }
    return any;
}

LineValues loadHexagramLines(const chart::DivinationData& data, const QString& main, const QString& changed) {
    const auto digitsOf = [&](const QString& name) {
        const std::optional<QString> digits = data.hexagramDigits(name);
        return digits && digits->size() == 6 ? *digits : QStringLiteral("000000");
    };
    const QString mainDigits = digitsOf(main);
    // A changed name without a row moves nothing: comparing with missing digits would make
    // every line of the main hexagram move.
    const QString changedDigits = changed.isEmpty() ? mainDigits : digitsOf(changed);
    const bool compare = changedDigits != QStringLiteral("000000");
    LineValues values{};
    for (int i = 0; i < 6; ++i) {
        int value = mainDigits.at(i).digitValue();
        if (value != 1 && value != 2) value = 0;
        if (compare && value != 0 && mainDigits.at(i) != changedDigits.at(i)) value += 2;
        values[std::size_t(5 - i)] = value;  // digit 0 is the top line
    }
    return values;
}

PillarTexts readPillars(const QString& line) {
    const QString padded = QStringLiteral("  ") + line;
    PillarTexts p;
    for (qsizetype i = 1; i < padded.size() && p.day.isEmpty(); ++i) {
        if (!isBranch(padded.at(i))) continue;
        (p.month.isEmpty() ? p.month : p.day) = padded.mid(i - 1, 2);
    }
    return p;
}

PillarTexts readMatchPillars(const QString& input) {
    const QString padded = QStringLiteral("  ") + input;
    PillarTexts p;
    for (qsizetype i = 1; i < padded.size(); ++i) {
        if (!isBranch(padded.at(i))) continue;
        (p.month.isEmpty() ? p.month : p.day) = padded.mid(i - 1, 2);
    }
    return p;
}

QString completeMonthStem(const QString& month, const QString& day, const QDate& today, cal::CalendarSource source) {
    const QString bare = month.trimmed();
    if (bare.size() != 1) return month;
    for (int stem = 0; stem < cal::kStemCount; ++stem) {
        const QString candidate = QString::fromUtf8(cal::stemName(stem)) + bare;
        if (chart::dateOfPillars(candidate, day, today, source).matched) return candidate;
    }
    return QStringLiteral("甲") + bare;
}

NamePair findNames(const QString& line) {
    const QString& all = allHexagramNames();
    NamePair names;
    for (qsizetype i = 0; i + 3 <= line.size(); ++i) {
        QString window = line.mid(i, 3);
        if (!all.contains(window)) continue;
        if (i + 4 <= line.size() && all.contains(line.mid(i, 4))) window = line.mid(i, 4);
        if (names.main.isEmpty()) {
            names.main = window;
            i += 2;
        } else {
            names.changed = window;
            break;
        }
    }
    return names;
}

CastTextResult readCastText(const QStringList& lines, const chart::DivinationData& data, const QDate& today,
                            cal::CalendarSource source) {
    CastTextResult result;
    PillarTexts pillars;
    for (QString line : lines) {
        const qsizetype year = line.indexOf(u'年');
        if (year >= 0) line.remove(0, year + 1);
        if (!pillars.complete()) pillars = readPillars(line);
        if (pillars.complete()) {
            pillars.month = completeMonthStem(pillars.month, pillars.day, today, source);
            result.date = chart::dateOfPillars(pillars.month, pillars.day, today, source).date;
            result.nameLabel = chart::dateText(*result.date);
        } else {
            pillars = {};
        }

        line = QStringLiteral("  ") + line + u'U';
        NamePair names = findNames(line);
        while (names.main.isEmpty() && expandShortNames(line)) names = findNames(line);
        if (names.main.isEmpty()) continue;
        result.nameLabel += QStringLiteral(" 本卦：") + names.main;
        if (!names.changed.isEmpty()) result.nameLabel += QStringLiteral(" 变卦：") + names.changed;
        result.values = loadHexagramLines(data, names.main, names.changed);
        break;
    }
    return result;
}

}  // namespace casting
