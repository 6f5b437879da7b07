// The outcome beside the feedback (a failed save keeps the choice) and the 验证统计 window, whose
// tables show what `qinglan-cli cases stats --json` prints for the same library.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "record/practice_record.h"
#include "test_support/program_fixture.h"
#include "ui/common/object_names.h"
#include "ui/main/object_names.h"
#include "ui/record/record_window.h"

namespace {

qint64 addCase(store::Database& db, const QVariantList& values) {
    return db.insert(QStringLiteral("insert into gua_table(gua_bianhao,gua_ming,lei_id,nian,yue,ri,zhanlei,xingbie,"
                                    "outcome,outcome_date,predicted_date) values(?,?,?,?,?,?,?,?,?,?,?)"),
                     values);
}

QString storedOutcome(store::Database& db, qint64 id) {
    return db.getFirstString(QStringLiteral("select outcome from gua_table where id=?"), {id});
}

}  // namespace

class OutcomeWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void aFailedSaveKeepsTheChosenOutcome() {
        ProgramFixture f;
        const qint64 id = addCase(*f.db, {QStringLiteral("20240204311141京房式T:16:24:00"), QStringLiteral("天风姤"), 1,
                                          2024, 2, 4, QStringLiteral("求财"), QStringLiteral("男"),
                                          QStringLiteral("pending"), QVariant(), QVariant()});
        QVERIFY(f.bench().openLocalCase(id));
        auto* box = control<QComboBox>(*f.window, objectnames::outcomeeditor::outcomeBox);
        auto* save = control<QPushButton>(*f.window, "Button29");
        QVERIFY(!save->isEnabled());
        box->setCurrentText(QStringLiteral("应验"));
        QVERIFY(save->isEnabled());

        f.db->execute(QStringLiteral(
            "create trigger broken before update on gua_table begin select raise(abort, 'disk I/O error'); end"));
        save->click();
        QVERIFY(f.prompter.messages.join(u'\n').contains(QStringLiteral("disk I/O error")));
        QCOMPARE(box->currentText(), QStringLiteral("应验"));
        QVERIFY(save->isEnabled());
        QCOMPARE(storedOutcome(*f.db, id), QStringLiteral("pending"));

        f.db->execute(QStringLiteral("drop trigger broken"));
        save->click();
        QVERIFY(!save->isEnabled());
        QCOMPARE(storedOutcome(*f.db, id), QStringLiteral("hit"));
    }

    // A 应期 candidate chosen in the reading panel becomes the predicted date with "取应期".
    void aChosenTimingCandidateFillsThePredictedDate() {
        ProgramFixture f;
        f.window->show();
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20240204311141T:16:24:00")));
        for (QAction* a : control<QMenu>(*f.window, "PopupMenu1")->actions())
            if (a->objectName() == QLatin1String(objectnames::mainwindow::readingPanelAction)) a->trigger();
        control<QComboBox>(*f.window, objectnames::readingpanel::questionBox)->setCurrentText(QStringLiteral("求财"));
        auto* lines = control<QListWidget>(*f.window, objectnames::readingpanel::lines);
        auto* take = control<QPushButton>(*f.window, objectnames::outcomebar::takeTimingButton);
        QVERIFY(!take->isEnabled());
        QListWidgetItem* candidate = nullptr;
        for (int i = 0; i < lines->count() && !candidate; ++i)
            if (QRegularExpression(QStringLiteral("^  \\d{4}-\\d\\d-\\d\\d ")).match(lines->item(i)->text()).hasMatch())
                candidate = lines->item(i);
        QVERIFY(candidate);
        emit lines->itemClicked(candidate);
        take->click();
        QCOMPARE(control<QLineEdit>(*f.window, objectnames::outcomeeditor::predictedDateEdit)->text(), candidate->text().mid(2, 10));
        QCOMPARE(f.bench().outcome().predicted.toString(Qt::ISODate), candidate->text().mid(2, 10));
        QVERIFY(control<QPushButton>(*f.window, "Button29")->isEnabled());
    }

    void theWindowsTablesEqualTheCommandsJson() {
        ProgramFixture f;
        const QVariantList cases[] = {
            {QStringLiteral("20230105111111京房式T:10:00:00"), 2, 2023, 1, 5, QStringLiteral("求财"), QStringLiteral("男"),
             QStringLiteral("hit"), QStringLiteral("2023-01-20"), QStringLiteral("2023-01-15")},
            {QStringLiteral("20230610311111藏山卜T:10:00:00"), 3, 2023, 6, 10, QStringLiteral("工作"), QStringLiteral("女"),
             QStringLiteral("partial"), QVariant(), QStringLiteral("2023-07-01")},
            {QStringLiteral("20231111341111京房式T:10:00:00"), 3, 2023, 11, 11, QStringLiteral("婚姻"), QStringLiteral("女"),
             QStringLiteral("miss"), QStringLiteral("2023-12-01"), QStringLiteral("2023-11-20")},
            {QStringLiteral("20240101111111京房式T:10:00:00"), 4, 2024, 1, 1, QString(), QStringLiteral("未知"),
             QStringLiteral("pending"), QVariant(), QVariant()},
            {QStringLiteral("bad"), QVariant(), QVariant(), QVariant(), QVariant(), QStringLiteral("他人"),
             QStringLiteral("男"), QStringLiteral("hit"), QVariant(), QVariant()},
        };
        for (QVariantList values : cases) {
            values.insert(1, QStringLiteral("卦"));
            addCase(*f.db, values);
        }
        ui::RecordWindow window(*f.db, f.bench());
        for (record::GroupBy by : record::kGroupings) {
            const QString word = record::groupByWord(by);
            QProcess cli;
            cli.start(QStringLiteral(QINGLAN_CLI),
                      {QStringLiteral("cases"), QStringLiteral("stats"), QStringLiteral("--json"), QStringLiteral("--by"),
                       word, QStringLiteral("--data-dir"), f.dir.path()});
            QVERIFY(cli.waitForFinished(60000));
            QCOMPARE(cli.exitCode(), 0);
            const QJsonArray groups = QJsonDocument::fromJson(cli.readAllStandardOutput()).object()[u"groups"].toArray();
            QTableWidget* table = window.groupTable(by);
            QVERIFY(table);
            QCOMPARE(table->rowCount(), groups.size());
            for (int row = 0; row < table->rowCount(); ++row) {
                const QJsonObject g = groups[row].toObject();
                QCOMPARE(table->item(row, 0)->text(), g[u"key"].toString());
                const char* keys[] = {"total", "decided", "hits", "partial", "misses"};
                for (int c = 0; c < 5; ++c)
                    QCOMPARE(table->item(row, c + 1)->data(Qt::UserRole).toLongLong(),
                             g[QLatin1String(keys[c])].toInteger());
                const QVariant rate = table->item(row, 7)->data(Qt::UserRole);
                QCOMPARE(rate.isValid(), !g[u"hitRate"].isNull());
                if (rate.isValid()) QCOMPARE(rate.toDouble(), g[u"hitRate"].toDouble());
            }
        }
    }
};

QTEST_MAIN(OutcomeWindowsTest)
#include "outcome_windows_test.moc"
