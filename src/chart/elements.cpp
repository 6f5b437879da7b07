#include "chart/elements.h"

#include "calendar/ganzhi.h"

namespace chart {
namespace {

const QString kElements = QStringLiteral("木火土金水");  // each generates the next

QString joinedNames(int count, std::string_view (*name)(int)) {
    QString all;
    for (int i = 0; i < count; ++i) all += QString::fromUtf8(name(i).data(), qsizetype(name(i).size()));
    return all;
}

const QString kStems = joinedNames(cal::kStemCount, cal::stemName);
const QString kBranches = joinedNames(cal::kBranchCount, cal::branchName);
const QString kBranchElements = QStringLiteral("水土木木土火火土金金土水");

QChar elementAt(int i) { return kElements.at(((i % 5) + 5) % 5); }

}  // namespace

bool isElement(QChar c) { return kElements.contains(c); }

QChar generatedElement(QChar e) {
    const int i = kElements.indexOf(e);
    return i < 0 ? QChar(u' ') : elementAt(i + 1);
}

QChar generatingElement(QChar e) {
    const int i = kElements.indexOf(e);
    return i < 0 ? QChar(u' ') : elementAt(i - 1);
}

QChar controlledElement(QChar e) {
    const int i = kElements.indexOf(e);
    return i < 0 ? QChar(u' ') : elementAt(i + 2);
}

QChar controllingElement(QChar e) {
    const int i = kElements.indexOf(e);
    return i < 0 ? QChar(u' ') : elementAt(i - 2);
}

QChar branchElement(QChar branch) {
    const int i = kBranches.indexOf(branch);
    return i < 0 ? QChar(u' ') : kBranchElements.at(i);
}

QString branchPolarityText(QChar branch) {
    const int i = kBranches.indexOf(branch);
    if (i < 0) return {};
    return QString(i % 2 == 0 ? u'阳' : u'阴') + kBranchElements.at(i);
}

QChar clashPartner(QChar branch) {
    const int i = kBranches.indexOf(branch);
    return i < 0 ? QChar() : kBranches.at((i + 6) % 12);
}

bool gainsSeasonQi(QChar branch, QChar monthBranch) {
    switch (branch.unicode()) {
    case u'亥':
    case u'子': return monthBranch == u'丑';
    case u'寅':
    case u'卯': return monthBranch == u'辰';
    case u'巳':
    case u'午': return monthBranch == u'未';
    case u'申':
    case u'酉': return monthBranch == u'戌';
    default: return false;
    }
}

QString relativeOf(QChar e, QChar p) {
    if (!isElement(e) || !isElement(p)) return QStringLiteral("错误");
    if (e == p) return QStringLiteral("兄弟");
    if (controlledElement(p) == e) return QStringLiteral("妻财");
    if (generatedElement(p) == e) return QStringLiteral("子孙");
    if (controlledElement(e) == p) return QStringLiteral("官鬼");
    return QStringLiteral("父母");
}

QChar branchChar(int index) { return index >= 0 && index < 12 ? kBranches.at(index) : QChar(); }
QChar stemChar(int index) { return index >= 0 && index < 10 ? kStems.at(index) : QChar(); }
int branchIndex(QChar c) { return kBranches.indexOf(c); }
int stemIndex(QChar c) { return kStems.indexOf(c); }

}  // namespace chart
