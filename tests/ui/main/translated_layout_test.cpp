// The main window and 设置 in each interface language, with the program's fonts: every caption
// fits its control by the font's measure, no two controls of the main window overlap, and under 简体中文 the controls
// keep the places of the layout table.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/startup.h"
#include "test_support/program_fixture.h"
#include "ui/main/main_window_layout.h"
#include "ui/main/object_names.h"
#include "ui/main/settings_dialog.h"

namespace {

namespace mainwindow = objectnames::mainwindow;
using language::Language;

QString shown(QString caption) { return caption.remove(QRegularExpression(QStringLiteral("&(?!&)"))); }

// What of a control's caption does not fit: a push button's text with a little room for its
// frame, a check box's or radio button's indicator and text, a label's text (a wrapped label:
// its lines).
QString misfit(QWidget* w) {
    const QFontMetrics metrics(w->font());
    int needed = 0, room = w->width();
    QString caption;
    if (auto* l = qobject_cast<QLabel*>(w)) {
        caption = l->text();
        if (caption.isEmpty() || l->textFormat() == Qt::RichText) return {};
        if (l->wordWrap()) {
            needed = l->heightForWidth(l->width());
            room = l->height();
        } else {
            needed = metrics.horizontalAdvance(shown(caption));
        }
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        caption = b->text();
        if (caption.isEmpty()) return {};
        needed = qobject_cast<QPushButton*>(w) ? metrics.horizontalAdvance(shown(caption)) + 8 : b->sizeHint().width();
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        caption = g->title();
        needed = metrics.horizontalAdvance(shown(caption));
    }
    if (needed <= room) return {};
    return QStringLiteral("%1 \"%2\": %3 > %4").arg(w->objectName(), caption).arg(needed).arg(room);
}

QStringList misfits(QWidget* window) {
    QStringList out;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        // The place of the cast in the cast dialog, whose layout is the dialog's.
        if (w->window() != window) continue;
        if (const QString m = misfit(w); !m.isEmpty()) out << m;
    }
    return out;
}

}  // namespace

class TranslatedLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { app::setUpInterface(*qApp, Language::SimplifiedChinese); }

    void captionsFitAndNothingOverlaps_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("简体中文") << int(Language::SimplifiedChinese);
        QTest::newRow("繁體中文") << int(Language::TraditionalTaiwan);
        QTest::newRow("English") << int(Language::English);
    }

    void captionsFitAndNothingOverlaps() {
        QFETCH(int, language);
        app::setUpInterface(*qApp, Language(language));  // the translations and the fonts
        ProgramFixture f;
        f.window->show();
        QVERIFY(f.bench().enterCaseNumber(QStringLiteral("20240204311141T:16:24:00")));
        QApplication::processEvents();
        QStringList wrong;
        // 简体中文 keeps the table's places, where "设置" and the never shown "显示基础知识" are
        // a little narrower than their captions.
        for (const QString& m : misfits(f.window))
            if (language != int(Language::SimplifiedChinese) ||
                !(m.startsWith(QLatin1String(mainwindow::settingsButton) + u' ') ||
                  m.startsWith(QLatin1String(mainwindow::knowledgeButton) + u' ')))
                wrong << m;
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));

        QWidget* client = control<QWidget>(*f.window, mainwindow::chartArea)->parentWidget();
        const QList<QWidget*> controls = client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* a : controls)
            for (QWidget* b : controls)
                if (a < b && a->isVisible() && b->isVisible())
                    QVERIFY2(!a->geometry().intersects(b->geometry()),
                             qPrintable(a->objectName() + QStringLiteral(" over ") + b->objectName()));

        ui::SettingsDialog dialog(f.bench(), f.window);
        dialog.show();
        QApplication::processEvents();
        const QStringList dialogWrong = misfits(&dialog);
        QVERIFY2(dialogWrong.isEmpty(), qPrintable(dialogWrong.join(u'\n')));
    }

    // 简体中文 keeps the layout table, "设置" and the option column included.
    void simplifiedChineseKeepsTheTable() {
        ProgramFixture f;
        namespace layout = ui::main_layout;
        QCOMPARE(control<QWidget>(*f.window, mainwindow::settingsButton)->geometry(), layout::kSettings);
        QCOMPARE(control<QWidget>(*f.window, mainwindow::messageLabel)->geometry(), layout::kMessage);
        QCOMPARE(control<QWidget>(*f.window, mainwindow::saveAllButton)->geometry(), layout::kSaveAll);
        QCOMPARE(control<QWidget>(*f.window, mainwindow::methodGroup)->geometry(), layout::kMethodGroup);
        QCOMPARE(control<QWidget>(*f.window, mainwindow::zangshanRadio)->geometry(),
                 QRect(QPoint(layout::kRadioLeft, layout::kRadioRows[1]), layout::kRadioSize));
        QCOMPARE(control<QWidget>(*f.window, mainwindow::invertedLabel)->geometry(), layout::kInverted);
    }
};

QTEST_MAIN(TranslatedLayoutTest)
#include "translated_layout_test.moc"
