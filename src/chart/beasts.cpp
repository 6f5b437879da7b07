#include "chart/beasts.h"

#include <QStringList>

namespace chart {

QString beastGroupOfStem(QChar stem) {
    switch (stem.unicode()) {
    case u'甲':
    case u'乙': return QStringLiteral("甲乙");
    case u'丙':
    case u'丁': return QStringLiteral("丙丁");
    case u'戊': return QStringLiteral("戊日");
    case u'己': return QStringLiteral("己日");
    case u'庚':
    case u'辛': return QStringLiteral("庚辛");
    case u'壬':
    case u'癸': return QStringLiteral("壬癸");
    default: return {};
    }
}

bool attachBeasts(const DivinationData& data, QChar stem, ChartState& state) {
    const QString group = beastGroupOfStem(stem);
    const auto row = group.isEmpty() ? std::nullopt : data.beastsOfGroup(group);
    if (!row) return false;
    const QStringList beasts = row->split(u'，');
    if (beasts.size() != 6) return false;
    for (std::size_t i = 0; i < 6; ++i) {
        state.main[i].beast = beasts[qsizetype(i)].left(2);
        state.changed[i].beast = beasts[qsizetype(i)].left(2);
    }
    return true;
}

QChar beastStem(const ChartState& state, BeastPillar pillar) {
    const QString& source = pillar == BeastPillar::Year    ? state.pillarLabel
                            : pillar == BeastPillar::Month ? state.firstSlot
                                                           : state.secondSlot;
    return source.isEmpty() ? QChar() : source.at(0);
}

}  // namespace chart
