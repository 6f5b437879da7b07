#include "cli/built_chart.h"

#include <QCoreApplication>
#include <QProcessEnvironment>

#include "chart/chart_build.h"
#include "store/data_root.h"

namespace cli {

std::optional<int> buildChart(const ChartInvocation& call, const char* command, BuiltChart& out, std::ostream& err) {
    try {
        const QString root = store::resolveDataRoot(call.dataDirArgs, QProcessEnvironment::systemEnvironment(),
                                                    QCoreApplication::applicationDirPath());
        out.db = store::Database::openToRead(store::databaseFilePath(root));
        out.data = std::make_unique<store::SqliteDivinationData>(*out.db);
    } catch (const store::DatabaseError& e) {
        err << "qinglan-cli " << command << ": " << e.text().toStdString() << "\n";
        return 1;
    }
    const chart::BuildContext context{*out.data, call.options, call.today};

    out.state = chart::ChartState{};
    out.state.castTime = QTime::currentTime();
    out.state.place = call.place;
    const chart::CaseEntry entry = chart::enterCaseNumber(out.state, call.text, context);
    if (!entry.ok) {
        err << "qinglan-cli " << command << ": " << entry.error.toStdString() << "\n";
        return 2;
    }
    for (const QString& message : entry.messages)
        err << "qinglan-cli " << command << ": " << message.toStdString() << "\n";
    if (call.basis) chart::applyStrengthBasis(out.state, *call.basis, context);
    return std::nullopt;
}

}  // namespace cli
