#include "chart/hidden_spirits.h"

#include <QStringList>
#include <optional>
#include <vector>

#include "chart/catalogue.h"
#include "chart/elements.h"
#include "chart/stems.h"

namespace chart {

void attachHiddenSpirits(const DivinationData& data, QChar mainPalaceElement, ChartState& state) {
    state.hiddenSpiritSource.clear();
    QStringList missing = {QStringLiteral("父母"), QStringLiteral("兄弟"), QStringLiteral("子孙"),
                           QStringLiteral("妻财"), QStringLiteral("官鬼")};
    for (const ChartLine& line : state.main) missing.removeAll(line.relative);
    if (missing.isEmpty()) return;

    const QString& mainName = state.main[0].hexagramName;
    const auto description = data.hexagramDescription(mainName);
    const QString trigram = description && !description->isEmpty() ? description->left(1) : QString();
    const QStringList palace = trigram.isEmpty() ? QStringList() : data.palaceHexagrams(trigram);

    // Each candidate is laid out the first time a missing relative is looked for in it.
    struct Candidate {
        QString name;
        std::optional<Hexagram> lines;
    };
    std::vector<Candidate> candidates;
    for (const QString& entry : palace) {
        const QStringList parts = entry.split(u'，');
        candidates.push_back({parts.size() >= 2 ? parts[1] : QString(), std::nullopt});
    }
    auto linesOf = [&](Candidate& c) -> const Hexagram& {
        if (!c.lines) {
            c.lines.emplace();
            layOutHexagram(data, c.name, state.method, *c.lines);
            if (state.method == ArrangementMethod::Zangshan) {
                for (ChartLine& line : *c.lines)
                    line.relative = relativeOf(line.branchElement.size() >= 2 ? line.branchElement.at(1) : QChar(),
                                               mainPalaceElement);
            }
        }
        return *c.lines;
    };

    for (const QString& relative : missing) {
        for (Candidate& candidate : candidates) {
            storeStemPair(state, candidate.name, 1);
            state.hiddenSpiritSource = candidate.name;
            const Hexagram& lines = linesOf(candidate);
            bool found = false;
            for (int i = 5; i >= 0 && !found; --i) {
                const ChartLine& line = lines[std::size_t(i)];
                if (line.relative == relative) {
                    state.main[std::size_t(i)].hiddenSpirit = line.relative + line.branchElement;
                    found = true;
                }
            }
            if (found) break;
        }
    }
}

}  // namespace chart
