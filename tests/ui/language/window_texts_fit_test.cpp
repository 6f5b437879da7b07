// Every window and dialog of a run, in the interface language named by QINGLAN_TEST_LANGUAGE
// (zh_CN, zh_TW, en; ctest runs each at several QT_SCALE_FACTORs): each visible caption, button
// and group title has the room its text needs, no two visible sibling controls overlap nor leave
// their parent, 繁體 shows no simplified character left, English no Chinese beyond the user's data
// and the names of the languages themselves.
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QTextDocumentFragment>
#include <QToolBar>
#include <QToolButton>
#include <functional>

#include "app/interface_language.h"
#include "language/traditional_text.h"
#include "test_support/program_fixture.h"
#include "ui/cloud/object_names.h"
#include "ui/main/settings_dialog.h"
#include "ui/record/record_window.h"

namespace {

using language::Language;

// Where a problem is: the window, then the control's objectName (or, unnamed, its class under
// the nearest named ancestor).
QString whereIs(const QWidget* w) {
    QString path = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
    for (const QWidget* up = w->parentWidget(); up && !w->isWindow(); up = up->parentWidget()) {
        if (!up->objectName().isEmpty() && !up->objectName().startsWith(u"qt_")) {
            path = up->objectName() + u'/' + path;
            break;
        }
    }
    return path;
}

QString plain(const QLabel* label) {
    if (label->textFormat() == Qt::RichText ||
        (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text())))
        return QTextDocumentFragment::fromHtml(label->text()).toPlainText();
    return label->text();
}

// A control that belongs to a Qt widget's own make-up (a scroll area's viewport and bars, a
// spin box's field, a tab widget's bar and pages) rather than to the window's layout.
bool isInnerPart(const QWidget* w) {
    const QWidget* p = w->parentWidget();
    return w->objectName().startsWith(u"qt_") || (p && p->objectName().startsWith(u"qt_")) ||
           qobject_cast<const QAbstractScrollArea*>(p) ||
           qobject_cast<const QAbstractSpinBox*>(p) || qobject_cast<const QComboBox*>(p) ||
           qobject_cast<const QTabBar*>(p) || qobject_cast<const QTabWidget*>(p) ||
           qobject_cast<const QToolBar*>(p) || qobject_cast<const QMenuBar*>(p) || qobject_cast<const QStatusBar*>(p) ||
           qobject_cast<const QLineEdit*>(p);
}

// The room a label's text needs and has; empty when it fits.
QString labelFit(const QLabel* label) {
    const QString text = plain(label);
    if (text.isEmpty() || !label->pixmap().isNull()) return {};
    const QRect room = label->contentsRect().marginsRemoved(QMargins(label->margin(), label->margin(),
                                                                     label->margin(), label->margin()));
    const QFontMetrics fm = label->fontMetrics();
    const int flags = Qt::TextShowMnemonic | (label->wordWrap() ? Qt::TextWordWrap : 0);
    const QRect need = fm.boundingRect(QRect(0, 0, room.width(), 1 << 20), flags, text);
    if (need.width() <= room.width() && need.height() <= room.height()) return {};
    return QStringLiteral("needs %1×%2 px, has %3×%4%5")
        .arg(need.width())
        .arg(need.height())
        .arg(room.width())
        .arg(room.height())
        .arg(label->wordWrap() ? QStringLiteral(" (word-wrapped)") : QString());
}

QString buttonFit(const QAbstractButton* button) {
    if (button->text().isEmpty()) return {};
    const QFontMetrics fm = button->fontMetrics();
    const QSize text = fm.size(Qt::TextShowMnemonic, button->text());
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    int room = 0;
    if (qobject_cast<const QCheckBox*>(button)) {
        room = button->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, button).width();
    } else if (qobject_cast<const QRadioButton*>(button)) {
        room = button->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, button).width();
    } else if (auto* tool = qobject_cast<const QToolButton*>(button)) {
        if (tool->toolButtonStyle() == Qt::ToolButtonIconOnly) return {};
        room = button->width();
        if (tool->sizeHint().width() <= room) return {};
        return QStringLiteral("needs %1 px, has %2").arg(tool->sizeHint().width()).arg(room);
    } else {
        // A push button draws its text inside its frame.
        room = button->width() - 2 * button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, button) -
               (button->icon().isNull() ? 0 : button->iconSize().width() + 4);
    }
    if (text.width() <= room && text.height() <= button->height()) return {};
    return QStringLiteral("needs %1 px, has %2").arg(text.width()).arg(room);
}

QString groupFit(const QGroupBox* box) {
    if (box->title().isEmpty()) return {};
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.textAlignment = box->alignment();
    option.lineWidth = 1;
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    if (box->isCheckable()) option.subControls |= QStyle::SC_GroupBoxCheckBox;
    if (box->isFlat()) option.features |= QStyleOptionFrame::Flat;
    const QRect title = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    if (title.right() < box->width() && title.left() >= 0) return {};
    return QStringLiteral("title needs up to x %1, the box is %2 wide").arg(title.right() + 1).arg(box->width());
}

// Every entry of a closed box fits its field.
QString comboFit(const QComboBox* box) {
    if (box->isEditable()) return {};
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.frame = box->hasFrame();
    const int room =
        box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box).width() - 2;
    for (int i = 0; i < box->count(); ++i) {
        const int need = box->fontMetrics().horizontalAdvance(box->itemText(i)) +
                         (box->itemIcon(i).isNull() ? 0 : box->iconSize().width() + 4);
        if (need > room) return QStringLiteral("entry \"%1\" needs %2 px, has %3").arg(box->itemText(i)).arg(need).arg(room);
    }
    return {};
}

// A table without a horizontal scroll bar shows all its columns.
QString tableFit(const QAbstractItemView* view) {
    const auto* table = qobject_cast<const QTableView*>(view);
    if (!table || table->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff) return {};
    const int need = table->horizontalHeader()->length();
    if (need <= table->viewport()->width()) return {};
    return QStringLiteral("columns need %1 px, the table shows %2").arg(need).arg(table->viewport()->width());
}

QString tabsFit(const QTabBar* bar) {
    const int need = bar->sizeHint().width();
    if (need <= bar->width()) return {};
    return QStringLiteral("tabs need %1 px, the bar has %2").arg(need).arg(bar->width());
}

// The names of the languages in the choice of the interface language, each in its own script.
bool isLanguageName(const QString& text) {
    static const QRegularExpression name(QStringLiteral("^(简体中文|繁體中文|繁体中文|中文)[^\\n]{0,20}$"));
    return name.match(text).hasMatch();
}

const QRegularExpression kChinese(QStringLiteral("[\\x{3000}-\\x{303F}\\x{3400}-\\x{9FFF}\\x{F900}-\\x{FAFF}\\x{FF00}-"
                                                 "\\x{FFEF}]"));

// Controls whose texts are the user's data (names, questions, judgments) in any language.
const QStringList kUserData = {};

// Texts that are pictures rather than words: 一 draws a yang line beside the manual lines.
bool isSymbol(const QString& text) { return text == u"一"; }

class Inspection {
public:
    Inspection(QWidget* window, Language language, QString shownAs)
        : window_(window), language_(language), shownAs_(std::move(shownAs)) {}

    QStringList problems() {
        checkText(window_, window_->windowTitle(), QStringLiteral("window title"));
        for (QWidget* w : window_->findChildren<QWidget*>()) {
            if (!w->isVisible() || w->isWindow() || w->window() != window_) continue;
            checkWidget(w);
        }
        checkSiblings(window_);
        return problems_;
    }

private:
    void report(const QWidget* w, const QString& text, const QString& problem) {
        problems_ << QStringLiteral("%1: %2 \"%3\": %4").arg(shownAs_, whereIs(w), text, problem);
    }

    void checkWidget(QWidget* w) {
        checkText(w, w->toolTip(), QStringLiteral("hint"));
        checkText(w, w->accessibleName(), QStringLiteral("spoken name"));
        if (auto* label = qobject_cast<QLabel*>(w)) {
            checkText(w, plain(label));
            if (const QString p = labelFit(label); !p.isEmpty()) report(w, plain(label), p);
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            if (isInnerPart(w)) return;
            checkText(w, button->text());
            if (const QString p = buttonFit(button); !p.isEmpty()) report(w, button->text(), p);
        } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
            checkText(w, box->title());
            if (const QString p = groupFit(box); !p.isEmpty()) report(w, box->title(), p);
        } else if (auto* bar = qobject_cast<QTabBar*>(w)) {
            QStringList tabs;
            for (int i = 0; i < bar->count(); ++i) {
                checkText(w, bar->tabText(i));
                tabs << bar->tabText(i);
            }
            if (const QString p = tabsFit(bar); !p.isEmpty()) report(w, tabs.join(u'|'), p);
        } else if (auto* box = qobject_cast<QComboBox*>(w)) {
            if (const QString p = comboFit(box); !p.isEmpty()) report(w, box->currentText(), p);
        } else if (auto* table = qobject_cast<QTableView*>(w)) {
            if (const QString p = tableFit(table); !p.isEmpty()) report(w, QString(), p);
        } else if (auto* text = qobject_cast<QPlainTextEdit*>(w); text && text->isReadOnly()) {
            checkText(w, text->toPlainText(), QStringLiteral("text"));
        } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            checkText(w, edit->placeholderText(), QStringLiteral("placeholder"));
        } else if (auto* header = qobject_cast<QHeaderView*>(w)) {
            if (!header->model()) return;
            for (int i = 0; i < header->count(); ++i)
                if (!header->isSectionHidden(i))
                    checkText(w, header->model()->headerData(i, header->orientation()).toString(),
                              QStringLiteral("header"));
        }
    }

    // No simplified character under 繁體, no Chinese under English.
    void checkText(const QWidget* w, const QString& shownText, const QString& what = {}) {
        // The default category's name is stored data, quoted as it is stored.
        QString text = shownText;
        text.remove(QStringLiteral("杂类"));
        if (text.isEmpty() || kUserData.contains(w->objectName())) return;
        const QString kind = what.isEmpty() ? QString() : what + u' ';
        if (language::isTraditional(language_)) {
            if (!language::holdsNoSimplified(text)) report(w, shownText, kind + QStringLiteral("has simplified characters"));
        } else if (language_ == Language::English && text.contains(kChinese) && !isLanguageName(text) &&
                   !isSymbol(text)) {
            report(w, shownText, kind + QStringLiteral("is not English"));
        }
    }

    // Visible controls side by side in one parent: none on another, none past the parent's edge.
    void checkSiblings(QWidget* parent) {
        QList<QWidget*> shown;
        for (QObject* o : parent->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (!w || w->isWindow() || !w->isVisible()) continue;
            checkSiblings(w);
            if (!isInnerPart(w) && !qobject_cast<QMainWindow*>(parent)) shown << w;
        }
        for (qsizetype i = 0; i < shown.size(); ++i) {
            const QRect a = shown[i]->geometry();
            if (!parent->rect().contains(a))
                report(shown[i], describe(shown[i]),
                       QStringLiteral("lies outside its parent %1 (%2,%3 %4×%5 in %6×%7)")
                           .arg(whereIs(parent))
                           .arg(a.x())
                           .arg(a.y())
                           .arg(a.width())
                           .arg(a.height())
                           .arg(parent->width())
                           .arg(parent->height()));
            for (qsizetype j = i + 1; j < shown.size(); ++j) {
                const QRect b = shown[j]->geometry();
                if (a.intersects(b))
                    report(shown[i], describe(shown[i]),
                           QStringLiteral("overlaps %1 \"%2\"").arg(whereIs(shown[j]), describe(shown[j])));
            }
        }
    }

    static QString describe(const QWidget* w) {
        if (auto* label = qobject_cast<const QLabel*>(w)) return plain(label);
        if (auto* button = qobject_cast<const QAbstractButton*>(w)) return button->text();
        if (auto* box = qobject_cast<const QGroupBox*>(w)) return box->title();
        return {};
    }

    QWidget* window_;
    Language language_;
    QString shownAs_;
    QStringList problems_;
};

}  // namespace

class WindowTextsFitTest : public QObject {
    Q_OBJECT

private:
    Language language_ = Language::SimplifiedChinese;
    std::unique_ptr<ProgramFixture> f_;

    // Shows the window, inspects it as it stands (after `arrange`, if given) and hides it again.
    void inspect(QWidget* window, const QString& shownAs, const std::function<void()>& arrange = {}) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        if (arrange) arrange();
        QCoreApplication::processEvents();
        const QStringList problems = Inspection(window, language_, shownAs).problems();
        // For a person to look at: QINGLAN_TEST_SHOTS=<folder> keeps a picture of each window.
        if (const QString shots = qEnvironmentVariable("QINGLAN_TEST_SHOTS"); !shots.isEmpty())
            window->grab().save(QStringLiteral("%1/%2-%3.png").arg(shots, language::codeOf(language_), shownAs));
        window->hide();
        // Each problem on a line of its own (a failure's message is cut short), then the count.
        const QString run = QStringLiteral("[%1, scale %2]")
                                .arg(language::codeOf(language_), qEnvironmentVariable("QT_SCALE_FACTOR", "1"));
        for (const QString& problem : problems) qInfo().noquote() << run << problem;
        QVERIFY2(problems.isEmpty(),
                 qPrintable(QStringLiteral("%1 %2: %3 problem(s), listed above").arg(run, shownAs).arg(problems.size())));
    }

private slots:
    void initTestCase() {
        const QString code = qEnvironmentVariable("QINGLAN_TEST_LANGUAGE", QStringLiteral("zh_CN"));
        const std::optional<Language> language = language::languageFromCode(code);
        QVERIFY2(language, qPrintable(QStringLiteral("QINGLAN_TEST_LANGUAGE names no language: ") + code));
        language_ = *language;
        app::installInterfaceLanguage(*QCoreApplication::instance(), language_);
        f_ = std::make_unique<ProgramFixture>();
    }
    void cleanupTestCase() { f_.reset(); }

    // The inspection itself, on controls made to fail it and to pass it.
    void theInspectionSeesCutTextsAndOverlaps() {
        QWidget window;
        window.setObjectName(QStringLiteral("sample"));
        window.resize(300, 200);
        const auto label = [&window](const char* name, const QString& text, QRect at, bool wrap = false) {
            auto* l = new QLabel(text, &window);
            l->setObjectName(QString::fromLatin1(name));
            l->setGeometry(at);
            l->setWordWrap(wrap);
        };
        const QString words = QStringLiteral("several words of text");
        const int wide = window.fontMetrics().horizontalAdvance(words) + 8;
        const int line = window.fontMetrics().height() + 4;
        label("fits", words, {0, 0, wide, line});
        label("cut", words, {0, 30, wide / 2, line});
        label("wrapped", words, {0, 60, wide / 2 + 8, 3 * line}, true);
        label("wrappedShort", words, {0, 120, wide / 2 + 8, line}, true);
        auto* button = new QPushButton(words, &window);
        button->setObjectName(QStringLiteral("overlapping"));
        button->setGeometry(wide / 2, 60, wide + 20, 30);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QStringList problems = Inspection(&window, Language::SimplifiedChinese, QStringLiteral("sample")).problems();
        const auto about = [&problems](const char* name) {
            return problems.filter(QStringLiteral("sample: sample/%1 ").arg(QLatin1String(name))).size();
        };
        QCOMPARE(about("fits"), 0);
        QCOMPARE(about("wrapped"), 1);  // the button lies on it
        QCOMPARE(about("cut"), 1);
        QCOMPARE(about("wrappedShort"), 1);
        QVERIFY2(problems.filter(QStringLiteral("overlaps sample/overlapping")).size() == 1, qPrintable(problems.join(u'\n')));
        QCOMPARE(problems.size(), 3);
    }

    void mainWindow() { inspect(f_->window, QStringLiteral("main window")); }

    void settingsDialog() {
        ui::SettingsDialog dialog(f_->bench(), f_->window);
        inspect(&dialog, QStringLiteral("设置"));
    }

    void castDialog_data() {
        QTest::addColumn<int>("tab");
        for (int tab = 0; tab < 3; ++tab) QTest::addRow("tab %d", tab) << tab;
    }
    void castDialog() {
        QFETCH(int, tab);
        ui::CastDialog& dialog = f_->program->castDialog;
        dialog.setPickersToNow();
        auto* tabs = dialog.findChild<QTabWidget*>();
        QVERIFY(tabs);
        QVERIFY(tab < tabs->count());
        inspect(&dialog, QStringLiteral("起卦, tab %1").arg(tab), [tabs, tab] { tabs->setCurrentIndex(tab); });
    }

    void caseBrowser() {
        f_->program->caseBrowser.prepareFirstShowing();
        inspect(&f_->program->caseBrowser, QStringLiteral("读取"));
    }

    void calendarViewer() { inspect(&f_->program->calendarViewer, QStringLiteral("天干地支查看")); }

    void loginWindow() {
        ui::LoginWindow& login = f_->program->cloud.loginWindow();
        login.fillRemembered();
        inspect(&login, QStringLiteral("登陆网络"));
    }

    void loginWindowWithRegistration() {
        ui::LoginWindow& login = f_->program->cloud.loginWindow();
        login.fillRemembered();
        inspect(&login, QStringLiteral("登陆网络 with 注册新用户"), [&login] {
            QTest::mouseClick(login.findChild<QLabel*>(QString::fromLatin1(objectnames::loginwindow::registerLink)),
                              Qt::LeftButton);
        });
    }

    void passwordWindow() { inspect(&f_->program->cloud.passwordWindow(), QStringLiteral("密码修改")); }

    void recordWindow() {
        ui::RecordWindow record(*f_->db, f_->bench(), f_->window);
        inspect(&record, QStringLiteral("验证统计"));
    }
};

QTEST_MAIN(WindowTextsFitTest)
#include "window_texts_fit_test.moc"
