#include "cli/chart_command.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QProcessEnvironment>

#include "chart/chart_build.h"
#include "chart/text_forms.h"
#include "cli/chart_invocation.h"
#include "cli/chart_json.h"
#include "store/data_root.h"
#include "store/database.h"
#include "store/sqlite_divination_data.h"

namespace cli {

int run_chart(const QStringList& args, std::ostream& out, std::ostream& err) {
    ChartInvocation call;
    if (const auto problem = parseChartInvocation(args, {}, call)) {
        err << "qinglan-cli chart: " << problem->toStdString() << "\n";
        return 2;
    }
    std::unique_ptr<store::Database> db;
    try {
        const QString root = store::resolveDataRoot(call.dataDirArgs, QProcessEnvironment::systemEnvironment(),
                                                    QCoreApplication::applicationDirPath());
        db = store::Database::open(store::databaseFilePath(root));
    } catch (const store::DatabaseError& e) {
        err << "qinglan-cli chart: " << e.text().toStdString() << "\n";
        return 1;
    }
    const store::SqliteDivinationData data(*db);
    const chart::BuildContext context{data, call.options, call.today};

    chart::ChartState state;
    state.castTime = QTime::currentTime();
    const chart::CaseEntry entry = chart::enterCaseNumber(state, call.text, context);
    if (!entry.ok) {
        err << entry.error.toStdString() << "\n";
        return 2;
    }
    for (const QString& message : entry.messages) err << message.toStdString() << "\n";
    if (call.basis) chart::applyStrengthBasis(state, *call.basis, context);

    if (call.json) {
        out << QJsonDocument(chartToJson(state)).toJson(QJsonDocument::Indented).toStdString();
    } else {
        const QStringList lines = chart::chartTextLines(state, state.caseNumber);
        if (!lines.isEmpty()) out << lines.join(u'\n').toStdString() << "\n";
    }
    return 0;
}

}  // namespace cli
