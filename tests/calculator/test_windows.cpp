// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowdriver.h"

#include "app/operationwindows.h"
#include "calculator/machinelook.h"
#include "calculator/machinesdialog.h"
#include "calculator/machinesettings.h"
#include "calculator/materialdialog.h"
#include "calculator/sheetprint.h"
#include "calculator/twips.h"
#include "calculator/usersettings.h"
#include "design/designcheck.h"
#include "examples/typedpage.h"
#include "examples/workedexamples.h"
#include "job/jobformat.h"
#include "solver/consistency.h"
#include "solver/conversions.h"
#include "solver/fieldhelp.h"
#include "solver/nonnumber.h"
#include "solver/provenance.h"
#include "solver/solve.h"
#include "wording/wording.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <optional>

using zorvik::OperationDefinition;
using zorvik::calculator::CalculatorWindow;
using zorvik::design::Action;
using zorvik::design::KeyFilter;
using zorvik::design::nameOnPage;
using zorvik::design::TagMatch;
using zorvik::design::WindowDesign;

Q_DECLARE_METATYPE(TagMatch)

namespace {

// A host that records Back, for windows opened outside the main window.
class RecordingHost : public zorvik::calculator::WindowHost {
public:
    QMdiArea *workArea() const override { return nullptr; }
    void showNewProject() override { ++newProjectShown; }
    int newProjectShown = 0;
};

QString nameOn(const OperationDefinition &entry, int page, const char *name,
               const char *finishing = "")
{
    return QString::fromStdString(
        zorvik::design::nameOnPage(entry.design().pages[std::size_t(page)], name, finishing));
}

// The page's fields in the order of the design's field table.
QStringList pageFields(const OperationDefinition &entry, int page)
{
    QStringList names;
    for (const zorvik::design::FieldDesign &field : entry.design().fields)
        names << nameOn(entry, page, field.name);
    return names;
}

zorvik::calculator::ButtonLabel *buttonFor(QWidget *window, const OperationDefinition &entry,
                                           int page, Action action)
{
    for (const zorvik::design::ButtonDesign &button : entry.design().buttons) {
        if (button.action == action)
            return labelOf(window, nameOn(entry, page, button.name, button.finishing));
    }
    qFatal("%s has no button label for that action", entry.design().name);
}

// Every field gets a text of its own, so any change shows.
QHash<QString, QString> fillAll(QWidget *window)
{
    QHash<QString, QString> texts;
    for (QLineEdit *field : window->findChildren<QLineEdit *>()) {
        field->setText(QString::number(texts.size() + 10));
        texts.insert(field->objectName(), field->text());
    }
    return texts;
}

// The field names the relation list knows, on every page of the design.
QStringList solvedFieldNames(const OperationDefinition &entry)
{
    QStringList names;
    for (const zorvik::design::PageDesign &page : entry.design().pages) {
        for (std::string_view field : entry.relations.fields)
            names << QString::fromLatin1(page.prefix) +
                         QString::fromUtf8(field.data(), qsizetype(field.size()));
    }
    return names;
}

QString defaultText(const OperationDefinition &entry, const QString &name)
{
    const zorvik::OperationDefinition &operation = entry;
    for (const auto &[field, text] : operation.defaults) {
        const std::string_view base = operation.relations.fields[std::size_t(field)];
        if (name.endsWith(QString::fromUtf8(base.data(), qsizetype(base.size()))))
            return QString::fromUtf8(text.data(), qsizetype(text.size()));
    }
    return {};
}

// The name of the page's button label that runs the action.
QString buttonFor(const WindowDesign &design, int page, zorvik::design::Action action)
{
    for (const zorvik::design::ButtonDesign &button : design.buttons) {
        if (button.action == action)
            return QString::fromStdString(zorvik::design::nameOnPage(
                design.pages[std::size_t(page)], button.name, button.finishing));
    }
    return {};
}

// What the job sheet says of a field of the window, and of its page.
struct SheetLine {
    zorvik::calculator::SheetPage page;
    zorvik::calculator::SheetField field;
};
SheetLine sheetLine(const CalculatorWindow *window, const OperationDefinition &entry, int page,
                    const QString &name)
{
    const WindowDesign &design = entry.design();
    const QString caption =
        design.pages.size() > 1 ? QString::fromUtf8(design.pages[std::size_t(page)].caption) : "";
    for (const zorvik::calculator::SheetPage &sheet : window->sheetPages()) {
        if (sheet.page == caption)
            return {sheet, sheet.fields.at(std::size_t(pageFields(entry, page).indexOf(name)))};
    }
    qFatal("%s is not on the job sheet", qPrintable(name));
}

// Triggers action, and runs act on the modal dialog it opens; closes the dialog if act leaves
// it open. Returns whether the dialog was seen.
template <typename Dialog>
bool onModal(QObject *context, QAction *action, const std::function<void(Dialog *)> &act)
{
    bool seen = false;
    QTimer::singleShot(0, context, [&] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = true;
        act(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    action->trigger();
    return seen;
}

} // namespace

class TestWindows : public WindowSuite {
    Q_OBJECT

private slots:

    void workedExample_data();
    void workedExample();
    void helpBeforeTheFirstCalculate_data() { addWindowRows(); }
    void helpBeforeTheFirstCalculate();
    void disagreementsAreShown_data() { addWindowRows(); }
    void disagreementsAreShown();
    void recalculateFollowsAnEdit_data() { addPageRows(); }
    void recalculateFollowsAnEdit();
    void materialForceFromTheMenu_data() { addPageRows(); }
    void materialForceFromTheMenu();
    void startingDataFromTheMenu_data();
    void startingDataFromTheMenu();
    void resultBeyondTheMachine_data() { addWindowRows(); }
    void resultBeyondTheMachine();
    void sheetSaysWhatThePageShows_data() { addPageRows(); }
    void sheetSaysWhatThePageShows();
    void exportedSheetReads_data();
    void exportedSheetReads();
    void machinesDialogKeepsValidMachines();
    void machinesDialogKeepsUnreadMachines();
    void opensWithTheOperationsDefaults_data() { addWindowRows(); }
    void opensWithTheOperationsDefaults();
    void captionsNameTheirFields_data() { addWindowRows(); }
    void captionsNameTheirFields();
    void buttonLabelsAreAccessibleButtons_data() { addWindowRows(); }
    void buttonLabelsAreAccessibleButtons();
    void openingAgainKeepsTexts_data() { addWindowRows(); }
    void openingAgainKeepsTexts();
    void resetRestoresTheOpeningPage_data() { addWindowRows(); }
    void resetRestoresTheOpeningPage();
    void leavingTheWindow_data();
    void leavingTheWindow();
    void resetClearsItsOwnPage_data() { addPageRows(); }
    void resetClearsItsOwnPage();
    void importFillsBlanksFromTwins_data() { addPageRows(true); }
    void importFillsBlanksFromTwins();
    void importKeepsWhereTextsCameFrom_data() { addPageRows(true); }
    void importKeepsWhereTextsCameFrom();
    void nonNumberIsSeenOnLeaving_data() { addPageRows(); }
    void nonNumberIsSeenOnLeaving();
    void escapeGoesBackFromEveryPage_data() { addPageRows(); }
    void escapeGoesBackFromEveryPage();
    void tabFollowsTheFieldTable_data() { addPageRows(); }
    void tabFollowsTheFieldTable();
    void everyFieldFiltersKeys_data() { addWindowRows(); }
    void everyFieldFiltersKeys();
    void captionsAreWhole_data() { addWindowRows(); }
    void captionsAreWhole();
    void fieldsSitInsideTheirFrames_data() { addWindowRows(); }
    void fieldsSitInsideTheirFrames();
    void longFieldDrawsTheStretchItShows_data();
    void longFieldDrawsTheStretchItShows();
    void designedSizeShowsNoScrollBars_data() { addWindowRows(); }
    void designedSizeShowsNoScrollBars();
    void tiledWindowKeepsEveryControlInReach_data();
    void tiledWindowKeepsEveryControlInReach();
    void cascadeGivesTheDesignBack_data() { addWindowRows(); }
    void cascadeGivesTheDesignBack();
    void resetComparesTags_data();
    void resetComparesTags();
    void backGoesToTheHost();
    void windowKeepsItsOwnDesign();
    void designMistakesAreNamed_data();
    void designMistakesAreNamed();
    void everyOptionIsOffered();
    void misspeltDesignStopsTheProgram();

private:
    CalculatorWindow *open(const OperationDefinition &entry)
    {
        return m_driver->open(entry.design().name);
    }

    void arrange(const char *command)
    {
        auto *action = m_driver->main()->findChild<QAction *>(command);
        QVERIFY(action);
        action->trigger();
    }

    // The part of the work area the user sees, in its own coordinates.
    QRect workAreaShown() const { return m_driver->main()->workArea()->viewport()->rect(); }
};

// Each operation's worked example typed into every page of its window, run by the page's
// Calculate label and by Enter, which acts on the page in front.
void TestWindows::workedExample_data()
{
    QTest::addColumn<const OperationDefinition *>("entry");
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("byEnter");
    for (const OperationDefinition &entry : zorvik::operationDefinitions()) {
        const WindowDesign &design = entry.design();
        for (int page = 0; page < int(design.pages.size()); ++page) {
            QTest::addRow("%s page %d, Calculate", design.name, page) << &entry << page << false;
            QTest::addRow("%s page %d, Enter", design.name, page) << &entry << page << true;
        }
    }
}

void TestWindows::workedExample()
{
    QFETCH(const OperationDefinition *, entry);
    QFETCH(int, page);
    QFETCH(bool, byEnter);
    const zorvik::test::WorkedExample &example = zorvik::test::workedExample(entry->name);
    const WindowDesign &design = entry->design();
    const QString prefix = QString::fromLatin1(design.pages[std::size_t(page)].prefix);

    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    showPage(window, page);
    QMap<QString, QString> expected;
    for (const QString &name : solvedFieldNames(*entry))
        expected.insert(name, defaultText(*entry, name));
    for (const auto &[field, text] : example.typed) {
        typeInto(window, prefix + qtext(field), qtext(text));
        expected[prefix + qtext(field)] = qtext(text);
    }
    if (byEnter)
        QTest::keyClick(window->focusWidget(), Qt::Key_Return);
    else
        QTest::mouseClick(
            labelOf(window, buttonFor(design, page, zorvik::design::Action::Calculate)),
            Qt::LeftButton);
    const std::vector<std::string_view> units = entry->units();
    for (const auto &[field, text] : example.results) {
        expected[prefix + qtext(field)] = qtext(text);
        // The explanation reads the result rounded; the field keeps every digit.
        const std::string reading = zorvik::readingText(
            *zorvik::strictToNumber(text), units[std::size_t(entry->relations.fieldId(field))]);
        QVERIFY2(fieldOf(window, prefix + qtext(field))
                     ->toolTip()
                     .endsWith("\nRounded: " + QString::fromStdString(reading)),
                 qPrintable(fieldOf(window, prefix + qtext(field))->toolTip()));
    }
    // Every field of the window: results on this page, the rest as typed or as opened.
    for (auto at = expected.cbegin(); at != expected.cend(); ++at)
        QCOMPARE(fieldOf(window, at.key())->text(), at.value());
}

// Before anything is calculated every field says what it is, its unit and what it leads to.
void TestWindows::helpBeforeTheFirstCalculate()
{
    QFETCH(const OperationDefinition *, entry);
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    const zorvik::RelationList &list = entry->relations;
    const zorvik::Captions captions = zorvik::design::fieldCaptions(entry->design(), list);
    const std::vector<zorvik::FieldHelpEntry> help = entry->fieldHelp();
    for (const QString &name : solvedFieldNames(*entry)) {
        QLineEdit *field = fieldOf(window, name);
        const auto id =
            list.fieldId(name.startsWith("ftxt") ? name.mid(1).toStdString() : name.toStdString());
        const QString text =
            QString::fromStdString(zorvik::fieldHelpText(list, captions, help, id));
        QVERIFY(!text.isEmpty());
        QCOMPARE(field->toolTip(), text);
        QCOMPARE(field->accessibleDescription(), text);
    }
}

// The worked example solved, then its last typed number doubled and Calculate pressed again:
// every field the check finds in disagreement takes a look of its own, readable, and says what
// it disagrees with; the others keep the page's background.
void TestWindows::disagreementsAreShown()
{
    QFETCH(const OperationDefinition *, entry);
    const zorvik::OperationDefinition &operation = *entry;
    const zorvik::RelationList &list = operation.relations;
    const zorvik::test::WorkedExample &example = zorvik::test::workedExample(operation.name);
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    for (const auto &[field, text] : example.typed)
        typeInto(window, qtext(field), qtext(text));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    const auto &[last, text] = example.typed.back();
    const std::string doubled = zorvik::numberToText(*zorvik::strictToNumber(text) * 2);
    typeInto(window, qtext(last), QString::fromStdString(doubled));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

    zorvik::FieldStore page = zorvik::test::typedPage(operation, example.typed);
    zorvik::SolveRecord record;
    zorvik::solve(list, page, {}, &record);
    page.setText(list.fieldId(last), doubled);
    const zorvik::Captions captions = zorvik::design::fieldCaptions(entry->design(), list);
    QHash<QString, QStringList> expected;
    for (const zorvik::Disagreement &d :
         zorvik::checkConsistency(list, page, zorvik::solveSources(list, record))) {
        expected[qtext(list.fields[std::size_t(d.field)])]
            << QString::fromStdString(zorvik::wording(d, page, captions, entry->units()));
    }
    QVERIFY(!expected.isEmpty());
    const QColor base = window->palette().color(QPalette::Active, QPalette::Base);
    for (std::string_view name : list.fields) {
        QLineEdit *field = fieldOf(window, qtext(name));
        const QColor shown = field->palette().color(QPalette::Active, QPalette::Base);
        if (!expected.contains(qtext(name))) {
            QVERIFY2(shown == base, qPrintable(field->objectName()));
            continue;
        }
        QVERIFY2(shown != base, qPrintable(field->objectName()));
        for (const QString &disagreement : expected[qtext(name)]) {
            QVERIFY2(field->accessibleDescription().contains(disagreement),
                     qPrintable(field->accessibleDescription()));
        }
        // WCAG's contrast ratio of the text on the tinted background.
        auto luminance = [](const QColor &c) {
            auto channel = [](double v) {
                return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
            };
            return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
                   0.0722 * channel(c.blueF());
        };
        const double a = luminance(shown);
        const double b = luminance(field->palette().color(QPalette::Text));
        QVERIFY((std::max(a, b) + 0.05) / (std::min(a, b) + 0.05) >= 4.5);
    }
}

// The worked example solved, then its last typed number doubled: the results are out of date
// until Recalculate (F5) gives what Calculate gives on a page holding only the typed texts, and
// Ctrl+Z brings the page back as it was before.
void TestWindows::recalculateFollowsAnEdit()
{
    QFETCH(const OperationDefinition *, entry);
    QFETCH(int, page);
    const zorvik::OperationDefinition &operation = *entry;
    const zorvik::test::WorkedExample &example = zorvik::test::workedExample(operation.name);
    const WindowDesign &design = entry->design();
    const QString prefix = QString::fromLatin1(design.pages[std::size_t(page)].prefix);
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    showPage(window, page);
    for (const auto &[field, text] : example.typed)
        typeInto(window, prefix + qtext(field), qtext(text));
    QTest::mouseClick(labelOf(window, buttonFor(design, page, Action::Calculate)), Qt::LeftButton);

    zorvik::test::Texts typed = example.typed;
    const std::string doubled =
        zorvik::numberToText(*zorvik::strictToNumber(typed.back().second) * 2);
    typed.back().second = doubled;
    QLineEdit *edited = fieldOf(window, prefix + qtext(typed.back().first));
    typeInto(window, edited->objectName(), QString::fromStdString(doubled));
    const zorvik::RelationList &list = operation.relations;
    // Exactly the results computed from the edited field, directly or through others, are out
    // of date; the rest stay fresh.
    const std::vector<bool> derived = [&] {
        zorvik::FieldStore page = zorvik::test::typedPage(operation, example.typed);
        zorvik::SolveRecord record;
        zorvik::solve(list, page, {}, &record);
        return zorvik::derivedFrom(zorvik::solveSources(list, record),
                                   list.fieldId(typed.back().first));
    }();
    auto checkOutOfDate = [&](bool after) {
        for (const auto &[name, text] : example.results) {
            QLineEdit *result = fieldOf(window, prefix + qtext(name));
            const bool outOfDate = result->toolTip().startsWith("Computed before ");
            QVERIFY2(outOfDate == (after && derived[std::size_t(list.fieldId(name))]),
                     qPrintable(result->objectName() + ": " + result->toolTip()));
            QCOMPARE(result->font().italic(), outOfDate);
        }
    };
    checkOutOfDate(true);

    auto pageTexts = [&] {
        QStringList texts;
        for (std::string_view name : list.fields)
            texts << fieldOf(window, prefix + qtext(name))->text();
        return texts;
    };
    const QStringList before = pageTexts();
    // F5, or the entry the window gives each field's context menu.
    if (page == 0) {
        QTest::keyClick(edited, Qt::Key_F5);
    } else {
        QMenu menu;
        window->addFieldActions(&menu, edited);
        menu.findChild<QAction *>("recalculate")->trigger();
    }
    zorvik::FieldStore expected = zorvik::test::typedPage(operation, typed);
    zorvik::solve(list, expected);
    QStringList solved;
    for (const std::string &text : expected.texts())
        solved << QString::fromStdString(text);
    QCOMPARE(pageTexts(), solved);
    QVERIFY(solved != before);
    checkOutOfDate(false);

    QTest::keyClick(edited, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(pageTexts(), before);
    checkOutOfDate(true);
    // Typing the text the solve read back makes them fresh again.
    typeInto(window, edited->objectName(), qtext(example.typed.back().second));
    checkOutOfDate(false);
}

// Group 2 found by typing into the dialog's filter and taken by Enter, at a typed chip
// thickness of 0.25 mm: 1500 × 0.25^−0.22. Ctrl+Z takes it back, and the next dialog has the
// group chosen already, kept while "C45" is typed, the name the job sheet then gives the
// material. Import on the other page takes the force again at that page's chip thickness, and a
// job file keeps where it came from. Windows without a specific cutting force offer no such
// entry.
void TestWindows::materialForceFromTheMenu()
{
    QFETCH(const OperationDefinition *, entry);
    QFETCH(int, page);
    QStandardPaths::setTestModeEnabled(true);
    zorvik::calculator::userSettings().clear();
    const zorvik::OperationDefinition &operation = *entry;
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    showPage(window, page);
    const std::optional<zorvik::MaterialFields> fields = zorvik::materialFields(operation);
    auto fieldNamed = [&](zorvik::FieldId id) {
        return fieldOf(window,
                       QString::fromLatin1(entry->design().pages[std::size_t(page)].prefix) +
                           qtext(operation.relations.fields[std::size_t(id)]));
    };
    QMenu menu;
    window->addFieldActions(&menu, window->findChildren<QLineEdit *>().front());
    if (!fields) {
        QVERIFY(!menu.findChild<QAction *>("fromMaterial"));
        return;
    }
    QLineEdit *kc = fieldNamed(fields->kc);
    bool readsForce = false;
    for (const zorvik::RuleGroup &group : operation.relations.groups) {
        for (const zorvik::Rule &rule : group) {
            const std::vector<zorvik::FieldId> read =
                zorvik::ruleSources(operation.relations, rule);
            readsForce = readsForce || std::count(read.begin(), read.end(), fields->kc);
        }
    }
    typeInto(window, fieldNamed(fields->thickness)->objectName(), "0.25");
    typeInto(window, kc->objectName(), "2000");

    auto choose = [&](const QString &keys) {
        QMenu menu;
        window->addFieldActions(&menu, kc);
        QAction *action = menu.findChild<QAction *>("fromMaterial");
        QVERIFY(action);
        QVERIFY(action->text().startsWith(QStringLiteral("Specific Cutting Force from Material…")));
        QCOMPARE(action->text().contains("no rule here reads it"), !readsForce);
        bool seen = false;
        bool typedIntoFilter = false;
        QTimer::singleShot(0, this, [&] {
            auto *dialog = qobject_cast<zorvik::calculator::MaterialDialog *>(
                QApplication::activeModalWidget());
            if (!dialog)
                return;
            seen = true;
            // Where the keys go once the dialog is active, which the offscreen platform does not
            // make it.
            QWidget *focus = dialog->focusWidget();
            typedIntoFilter = focus == dialog->findChild<QLineEdit *>("materialFilter");
            QTest::keyClicks(focus, keys);
            QTest::keyClick(focus, Qt::Key_Return);
            if (dialog->isVisible())
                dialog->reject();
        });
        action->trigger();
        QVERIFY(seen);
        QVERIFY(typedIntoFilter);
    };
    choose(QStringLiteral("non-alloy 190"));
    QCOMPARE(kc->text(), QStringLiteral("2034.90649117151"));
    QVERIFY2(kc->toolTip().startsWith(
                 "2034.90649117151\nFrom material group 2 (non-alloy steel, cast steel, "
                 "free-cutting steel, ≥ 0.25 % C, annealed): kc = kc1 × h^−mc = 1500 × "
                 "0.25^−0.22 = 2034.90649117151\n"),
             qPrintable(kc->toolTip()));
    QCOMPARE(kc->accessibleDescription(), kc->toolTip());
    QCOMPARE(kc->toolTip().contains("No rule of this page reads it"), !readsForce);
    const SheetLine line = sheetLine(window, *entry, page, kc->objectName());
    QCOMPARE(line.field.origin, QString("material"));
    QVERIFY2(line.page.material.startsWith("group 2 (non-alloy steel"),
             qPrintable(line.page.material));

    QTest::keyClick(kc, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(kc->text(), QStringLiteral("2000"));
    QVERIFY(!kc->toolTip().contains("material group"));

    choose(QStringLiteral("C45"));
    QCOMPARE(kc->text(), QStringLiteral("2034.90649117151"));
    QVERIFY2(sheetLine(window, *entry, page, kc->objectName())
                 .page.material.startsWith("C45, group 2 (non-alloy steel"),
             qPrintable(sheetLine(window, *entry, page, kc->objectName()).page.material));

    // A new chip thickness leaves the force out of date; Recalculate takes it again from the
    // same group at the new thickness, and Ctrl+Z brings the page back.
    typeInto(window, fieldNamed(fields->thickness)->objectName(), "0.3");
    QVERIFY(kc->font().italic());
    QVERIFY2(kc->toolTip().startsWith("Worked out before "), qPrintable(kc->toolTip()));
    QTest::keyClick(kc, Qt::Key_F5);
    QCOMPARE(kc->text(),
             QString::fromStdString(
                 *zorvik::materialForce(*zorvik::materials::findMaterialGroup(2), {0.3, ""}).text));
    QVERIFY2(kc->toolTip().contains("0.3^−0.22"), qPrintable(kc->toolTip()));
    QVERIFY(!kc->font().italic());
    QTest::keyClick(kc, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(kc->text(), QStringLiteral("2034.90649117151"));
    typeInto(window, fieldNamed(fields->thickness)->objectName(), "0.25");
    QVERIFY(!kc->font().italic());

    if (entry->design().pages.size() < 2)
        return;
    const int other = 1 - page;
    auto otherField = [&](zorvik::FieldId id) {
        return fieldOf(window,
                       QString::fromLatin1(entry->design().pages[std::size_t(other)].prefix) +
                           qtext(operation.relations.fields[std::size_t(id)]));
    };
    showPage(window, other);
    QLineEdit *otherKc = otherField(fields->kc);
    auto importAt = [&](const QString &thickness) {
        QTest::mouseClick(buttonFor(window, *entry, other, Action::Reset), Qt::LeftButton);
        typeInto(window, otherField(fields->thickness)->objectName(), thickness);
        QTest::mouseClick(buttonFor(window, *entry, other, Action::Import), Qt::LeftButton);
    };
    const std::optional<std::string> atOther =
        zorvik::materialForce(*zorvik::materials::findMaterialGroup(2), {0.4, ""}).text;
    // Where the page gives no chip thickness the force comes as the other page took it, until
    // Recalculate can take it again.
    importAt("0");
    QCOMPARE(otherKc->text(), kc->text());
    QVERIFY2(otherKc->toolTip().contains("This page gives none"), qPrintable(otherKc->toolTip()));
    typeInto(window, otherField(fields->thickness)->objectName(), "0.4");
    QTest::keyClick(otherKc, Qt::Key_F5);
    QCOMPARE(otherKc->text(), QString::fromStdString(*atOther));
    importAt("0.4");
    QCOMPARE(otherKc->text(), QString::fromStdString(*atOther));
    QVERIFY(otherKc->text() != kc->text());
    // Reset, then the job file read back brings it all again.
    const zorvik::job::JobRead read =
        zorvik::job::readJob(zorvik::job::writeJob({{window->record()}}), "job.zorvik");
    QCOMPARE(read.error ? zorvik::wording(*read.error) : std::string(), std::string());
    QTest::mouseClick(buttonFor(window, *entry, other, Action::Reset), Qt::LeftButton);
    QVERIFY(otherKc->text() != QString::fromStdString(*atOther));
    window->restore(read.job.windows.at(0));
    const SheetLine imported = sheetLine(window, *entry, other, otherKc->objectName());
    QCOMPARE(imported.field.text, QString::fromStdString(*atOther));
    QCOMPARE(imported.field.origin, QString("material"));
    QVERIFY2(imported.page.material.startsWith("C45, group 2 (non-alloy steel"),
             qPrintable(imported.page.material));
}

void TestWindows::startingDataFromTheMenu_data()
{
    QTest::addColumn<const OperationDefinition *>("entry");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("speed"); // group 2, HSS
    QTest::addColumn<QString>("feed");  // group 2, carbide, a 10 mm tool
    const QHash<QString, QStringList> starts{
        {"longitudinal", {"18", "0.175"}}, {"face", {"18", "0.175"}},   {"taper", {"18", "0.175"}},
        {"drilling", {"15", "0.12"}},      {"milling", {"17", "0.04"}}, {"shaping", {"", ""}}};
    for (const OperationDefinition &entry : zorvik::operationDefinitions()) {
        const QStringList start = starts.value(qtext(entry.name));
        QVERIFY2(start.size() == 2, entry.design().name);
        for (int page = 0; page < int(entry.design().pages.size()); ++page)
            QTest::addRow("%s page %d", entry.design().name, page)
                << &entry << page << start[0] << start[1];
    }
}

// C45 typed into the filter finds group 2 by its designation. The speed goes in for HSS as one
// edit that Ctrl+Z takes back; the feed for carbide, which the next dialog offers again.
void TestWindows::startingDataFromTheMenu()
{
    QFETCH(const OperationDefinition *, entry);
    QFETCH(int, page);
    QFETCH(QString, speed);
    QFETCH(QString, feed);
    QStandardPaths::setTestModeEnabled(true);
    zorvik::calculator::userSettings().clear();
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    showPage(window, page);
    const QString prefix = QString::fromLatin1(entry->design().pages[std::size_t(page)].prefix);
    if (!entry->starting) {
        for (QLineEdit *field : window->findChildren<QLineEdit *>()) {
            QMenu menu;
            window->addFieldActions(&menu, field);
            QVERIFY(!menu.findChild<QAction *>("speedFromMaterial"));
            QVERIFY(!menu.findChild<QAction *>("feedFromMaterial"));
        }
        return;
    }
    if (!entry->starting->diameters[0].empty())
        typeInto(window, prefix + qtext(entry->starting->diameters[0]), "10");
    QLineEdit *speedField = fieldOf(window, prefix + qtext(entry->starting->speed));
    QLineEdit *feedField = fieldOf(window, prefix + qtext(entry->starting->feed));
    typeInto(window, speedField->objectName(), "99");
    auto choose = [&](QLineEdit *field, const char *name, const QString &text, bool carbide) {
        QMenu menu;
        window->addFieldActions(&menu, field);
        QAction *action = menu.findChild<QAction *>(name);
        QVERIFY(action);
        QCOMPARE(action->text(), text);
        QVERIFY(onModal<zorvik::calculator::MaterialDialog>(this, action, [&](auto *dialog) {
            auto *tool = dialog->template findChild<QComboBox *>("toolMaterial");
            QCOMPARE(tool->currentIndex(), carbide ? 1 : 0);
            tool->setCurrentIndex(carbide ? 1 : 0);
            QTest::keyClicks(dialog->focusWidget(), QStringLiteral("C45"));
            QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
        }));
    };
    choose(speedField, "speedFromMaterial", QStringLiteral("Cutting Speed from Material…"), false);
    QCOMPARE(speedField->text(), speed);
    QVERIFY2(speedField->toolTip().startsWith(speed + "\nStarting cutting speed for material "
                                                      "group 2 ("),
             qPrintable(speedField->toolTip()));
    QVERIFY(speedField->toolTip().contains(" with HSS tools: the low end of "));
    QVERIFY(speedField->toolTip().contains("table row P 2–5"));
    QCOMPARE(sheetLine(window, *entry, page, speedField->objectName()).field.origin,
             QString("material"));
    QCOMPARE(sheetLine(window, *entry, page, speedField->objectName()).page.tool, QString("HSS"));
    QTest::keyClick(speedField, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(speedField->text(), QStringLiteral("99"));

    // Carbide is taken from here on: the dialog that enters the feed opens with it again.
    zorvik::calculator::userSettings().setValue("materials/lastTool", 1);
    choose(feedField, "feedFromMaterial", QStringLiteral("Feed from Material…"), true);
    QCOMPARE(feedField->text(), feed);
    QVERIFY(feedField->toolTip().contains(" with carbide tools: the middle of "));
    const SheetLine line = sheetLine(window, *entry, page, feedField->objectName());
    QVERIFY2(line.page.material.startsWith("group 2 ("), qPrintable(line.page.material));
    QCOMPARE(line.page.tool, QString("carbide"));
}

// With a machine chosen, the spindle speed beyond it takes a look and an explanation of its
// own, and nothing else does; with none, nothing is marked.
void TestWindows::resultBeyondTheMachine()
{
    QFETCH(const OperationDefinition *, entry);
    const zorvik::test::WorkedExample &example = zorvik::test::workedExample(entry->name);
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    for (const auto &[field, text] : example.typed)
        typeInto(window, qtext(field), qtext(text));
    window->calculate(0);
    QHash<QLineEdit *, QColor> bases;
    for (QLineEdit *field : window->findChildren<QLineEdit *>())
        bases.insert(field, field->palette().color(QPalette::Base));
    zorvik::Machine tiny;
    tiny.name = "Tiny";
    tiny.maxRpm = 1;
    window->setMachine(tiny);
    const QString rpm = qtext(entry->machine.rpm);
    for (QLineEdit *field : window->findChildren<QLineEdit *>()) {
        const bool beyond = !rpm.isEmpty() && field->objectName() == rpm;
        QCOMPARE(field->property(zorvik::calculator::beyondMachineProperty).toBool(), beyond);
        QCOMPARE(field->palette().color(QPalette::Base) != bases.value(field), beyond);
        QCOMPARE(field->toolTip().contains("Beyond the machine: "), beyond);
        if (beyond)
            QVERIFY2(field->toolTip().contains("; Tiny gives at most 1 rev/min"),
                     qPrintable(field->toolTip()));
    }
    // Every typed number doubled: a spindle speed computed is out of date, and only says it was
    // beyond when computed; one typed is beyond still, with no suggestion worked out from a page
    // of old results and new inputs. Recalculate gives the verdict again, with a suggestion, in
    // the words the job sheet uses.
    if (!rpm.isEmpty()) {
        for (const auto &[field, text] : example.typed)
            typeInto(
                window, qtext(field),
                QString::fromStdString(zorvik::numberToText(*zorvik::strictToNumber(text) * 2)));
        QLineEdit *speed = fieldOf(window, rpm);
        const bool stale = speed->font().italic();
        QCOMPARE(speed->property(zorvik::calculator::beyondMachineProperty).toBool(), !stale);
        QVERIFY2(speed->toolTip().contains(stale ? "Beyond the machine when computed: "
                                                 : "other results are out of date: Recalculate"),
                 qPrintable(speed->toolTip()));
        QVERIFY2(!speed->toolTip().contains("(at most"), qPrintable(speed->toolTip()));
        window->recalculate(0);
        QVERIFY(speed->property(zorvik::calculator::beyondMachineProperty).toBool());
        const QStringList limits = window->sheetPages().front().limits;
        QCOMPARE(limits.size(), 1);
        const QString verdict = limits.front().mid(limits.front().indexOf("needs "));
        QVERIFY2(verdict.contains("(at most ") && speed->toolTip().contains(verdict) &&
                     !speed->toolTip().contains("out of date"),
                 qPrintable(speed->toolTip()));
    }
    QMenu menu;
    window->addFieldActions(&menu, window->findChildren<QLineEdit *>().front());
    QVERIFY(menu.findChild<QAction *>("chooseMachine"));
    // The Machine menu reaches the window in front, inside its scroll frame.
    emit m_driver->main()->findChild<QMenu *>("mnumachine")->aboutToShow();
    QVERIFY(m_driver->main()->findChild<QAction *>("mnuchoosemachine")->isEnabled());

    window->setMachine(std::nullopt);
    for (QLineEdit *field : window->findChildren<QLineEdit *>()) {
        QVERIFY(!field->property(zorvik::calculator::beyondMachineProperty).toBool());
        QVERIFY(!field->toolTip().contains("Beyond the machine"));
    }
}

// The worked example solved on one page, its last typed number doubled and solved again, and a
// machine chosen that gives 1 rev/min: that page alone goes on the job sheet, each field with its
// text whole, a reading where it is a number, and in words each field the window shows out of
// date, in disagreement or beyond the machine. A window as it opened has nothing to print.
void TestWindows::sheetSaysWhatThePageShows()
{
    QFETCH(const OperationDefinition *, entry);
    QFETCH(int, page);
    const zorvik::test::WorkedExample &example = zorvik::test::workedExample(entry->name);
    const WindowDesign &design = entry->design();
    const QString prefix = QString::fromLatin1(design.pages[std::size_t(page)].prefix);
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    QVERIFY(window->sheetPages().empty());
    showPage(window, page);
    for (const auto &[field, text] : example.typed)
        typeInto(window, prefix + qtext(field), qtext(text));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    const auto &[last, text] = example.typed.back();
    typeInto(window, prefix + qtext(last),
             QString::fromStdString(zorvik::numberToText(*zorvik::strictToNumber(text) * 2)));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    zorvik::Machine tiny;
    tiny.name = "Tiny";
    tiny.maxRpm = 1;
    window->setMachine(tiny);

    const std::vector<zorvik::calculator::SheetPage> sheet = window->sheetPages();
    QCOMPARE(sheet.size(), std::size_t(1));
    QCOMPARE(sheet[0].operation, window->windowTitle());
    QCOMPARE(sheet[0].page.isEmpty(), design.pages.size() == 1);
    QCOMPARE(sheet[0].machine, QString("Tiny"));
    QCOMPARE(sheet[0].limits.isEmpty(), entry->machine.rpm.empty());
    const QStringList names = pageFields(*entry, page);
    QCOMPARE(sheet[0].fields.size(), std::size_t(names.size()));
    const QColor base = window->palette().color(QPalette::Active, QPalette::Base);
    int outOfDate = 0;
    int disagreeing = 0;
    for (int i = 0; i < names.size(); ++i) {
        QLineEdit *field = fieldOf(window, names[i]);
        const zorvik::calculator::SheetField &row = sheet[0].fields[std::size_t(i)];
        auto marked = [&](const char *word) {
            return std::any_of(row.marks.cbegin(), row.marks.cend(),
                               [&](const auto &mark) { return mark.word == word; });
        };
        const bool beyond = field->property(zorvik::calculator::beyondMachineProperty).toBool();
        const bool tinted = field->palette().color(QPalette::Active, QPalette::Base) != base;
        QCOMPARE(row.text, field->text());
        QCOMPARE(row.reading.isEmpty(), !zorvik::strictToNumber(field->text().toStdString()));
        QVERIFY2(marked("OUT OF DATE") == field->font().italic(), qPrintable(names[i]));
        QVERIFY2(marked("DISAGREES") == (tinted && !beyond), qPrintable(names[i]));
        QVERIFY2(marked("BEYOND THE MACHINE") == beyond, qPrintable(names[i]));
        outOfDate += field->font().italic() ? 1 : 0;
        disagreeing += marked("DISAGREES") ? 1 : 0;
        if (field->text() == defaultText(*entry, names[i]) && !field->text().isEmpty())
            QCOMPARE(row.origin, QString("default"));
    }
    QVERIFY(outOfDate > 0);
    QVERIFY(disagreeing > 0);
}

void TestWindows::exportedSheetReads_data()
{
    QTest::addColumn<QPageSize::PageSizeId>("paper");
    QTest::addColumn<QString>("paperName");
    QTest::newRow("A4") << QPageSize::A4 << "A4";
    QTest::newRow("Letter") << QPageSize::Letter << "letter";
}

// The job sheet as a PDF, read back by pdftotext: the job, the window solved and out of date,
// a result's whole text and the marks in words, on the paper asked for; the window left as it
// opened is not on it. A file that cannot be written is refused, naming it.
void TestWindows::exportedSheetReads()
{
    QFETCH(QPageSize::PageSizeId, paper);
    QFETCH(QString, paperName);
    const OperationDefinition *turning = zorvik::findOperation("longitudinal");
    QVERIFY(turning);
    const zorvik::test::WorkedExample &example = zorvik::test::workedExample(turning->name);
    CalculatorWindow *window = open(*turning);
    for (const auto &[field, text] : example.typed)
        typeInto(window, qtext(field), qtext(text));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    const auto longest = std::max_element(
        example.results.cbegin(), example.results.cend(),
        [](const auto &a, const auto &b) { return a.second.size() < b.second.size(); });
    const QString result = fieldOf(window, qtext(longest->first))->text();
    typeInto(window, qtext(example.typed.back().first), "1.2.3");
    QVERIFY(open(*zorvik::findOperation("drilling")));

    QTemporaryDir dir;
    const QString path = dir.filePath("job.pdf");
    QCOMPARE(zorvik::calculator::writeSheetPdf(m_driver->main()->jobSheet("bracket"), path,
                                               QPageSize(paper)),
             QString());
    auto run = [](const QString &program, const QStringList &arguments) {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(30000) || process.exitCode() != 0)
            qFatal("%s failed (poppler-utils installed?)", qPrintable(program));
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    const QString text = run("pdftotext", {"-layout", path, "-"});
    for (const QString &shown : {QString("bracket"), window->windowTitle(),
                                 QString("Roughing Data"), QString("Spindle Speed"), result,
                                 QString("OUT OF DATE"), QString("NOT A NUMBER"), QString("1.2.3")})
        QVERIFY2(text.contains(shown), qPrintable(shown + " not in:\n" + text));
    QVERIFY(!text.contains(m_driver->window("frmdrill")->windowTitle()));
    QVERIFY(run("pdfinfo", {path}).contains("(" + paperName));

    // Print… (Ctrl+P, from a field too) asks the system's print dialog where to print it.
    QString asked;
    QTimer::singleShot(0, this, [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            asked = modal->objectName();
            modal->close();
        }
    });
    QTest::keyClick(fieldOf(window, qtext(example.typed.front().first)), Qt::Key_P,
                    Qt::ControlModifier);
    QCOMPARE(asked, QString("printDialog"));

    const QString unwritable = dir.filePath("missing/job.pdf");
    const QString error = m_driver->main()->exportPdf(unwritable);
    QVERIFY2(error.contains(unwritable), qPrintable(error));
    QVERIFY(!QFile::exists(unwritable));
}

// A machine is added, named, given a power that is refused until it is a number, duplicated and
// the copy deleted; OK keeps what is left.
void TestWindows::machinesDialogKeepsValidMachines()
{
    QStandardPaths::setTestModeEnabled(true);
    zorvik::calculator::userSettings().clear();
    zorvik::calculator::MachinesDialog dialog;
    auto *list = dialog.findChild<QListWidget *>("machineList");
    QPushButton *ok = dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
    auto *problem = dialog.findChild<QLabel *>("machineProblem");
    auto field = [&](const char *key) {
        return dialog.findChild<QLineEdit *>(QStringLiteral("machine-") + key);
    };
    dialog.findChild<QPushButton *>("addMachine")->click();
    QCOMPARE(list->count(), 1);
    field("name")->selectAll();
    QTest::keyClicks(field("name"), "Lathe 1");
    QCOMPARE(list->item(0)->text(), QStringLiteral("Lathe 1"));
    QTest::keyClicks(field("power"), "7,5");
    QVERIFY(!ok->isEnabled());
    QVERIFY2(problem->text().startsWith("Lathe 1: power wants a number above 0 in W"),
             qPrintable(problem->text()));
    field("power")->clear();
    QTest::keyClicks(field("power"), "7500");
    QTest::keyClicks(field("min-rpm"), "3000");
    QTest::keyClicks(field("max-rpm"), "2000");
    QVERIFY(!ok->isEnabled());
    QVERIFY(problem->text().contains("lowest spindle speed, 3000 rev/min, is above the highest"));
    field("min-rpm")->selectAll();
    QTest::keyClick(field("min-rpm"), Qt::Key_Backspace);
    QVERIFY2(ok->isEnabled(), qPrintable(problem->text()));

    dialog.findChild<QPushButton *>("duplicateMachine")->click();
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->currentItem()->text(), QStringLiteral("Lathe 1 (copy)"));
    QCOMPARE(field("power")->text(), QStringLiteral("7500"));
    dialog.findChild<QPushButton *>("deleteMachine")->click();
    QCOMPARE(list->count(), 1);
    dialog.accept();
    const std::vector<zorvik::Machine> kept = zorvik::calculator::loadMachines();
    QCOMPARE(kept.size(), std::size_t(1));
    QCOMPARE(kept[0].name, std::string("Lathe 1"));
    QCOMPARE(kept[0].power, std::optional<double>(7500));
    QCOMPARE(kept[0].maxRpm, std::optional<double>(2000));
    QVERIFY(!kept[0].minRpm);
}

// A saved machine with a value that no longer reads is left out of the windows' choice, shown
// in the dialog with its text to be mended, and kept: OK waits until it reads.
void TestWindows::machinesDialogKeepsUnreadMachines()
{
    QStandardPaths::setTestModeEnabled(true);
    {
        QSettings store = zorvik::calculator::userSettings();
        store.clear();
        store.beginWriteArray("machines", 2);
        store.setArrayIndex(0);
        store.setValue("name", "Lathe 1");
        store.setValue("power", "7500");
        store.setArrayIndex(1);
        store.setValue("name", "Mill 2");
        store.setValue("power", "7,5");
        store.endArray();
        zorvik::calculator::keepSettings(store);
    }
    QCOMPARE(zorvik::calculator::loadMachines().size(), std::size_t(1));
    zorvik::calculator::MachinesDialog dialog;
    auto *list = dialog.findChild<QListWidget *>("machineList");
    QPushButton *ok = dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
    auto *power = dialog.findChild<QLineEdit *>("machine-power");
    QCOMPARE(list->count(), 2);
    QVERIFY(!ok->isEnabled());
    QVERIFY2(dialog.findChild<QLabel *>("machineProblem")->text().startsWith("Mill 2: power"),
             qPrintable(dialog.findChild<QLabel *>("machineProblem")->text()));
    list->setCurrentRow(1);
    QCOMPARE(power->text(), QStringLiteral("7,5"));
    power->selectAll();
    QTest::keyClicks(power, "5500");
    QVERIFY(ok->isEnabled());
    dialog.accept();
    const std::vector<zorvik::Machine> kept = zorvik::calculator::loadMachines();
    QCOMPARE(kept.size(), std::size_t(2));
    QCOMPARE(kept[1].power, std::optional<double>(5500));
}

void TestWindows::opensWithTheOperationsDefaults()
{
    QFETCH(const OperationDefinition *, entry);
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QString::fromLatin1(entry->design().caption));
    QCOMPARE(window->shownPage(), 0);
    const QStringList names = solvedFieldNames(*entry);
    QCOMPARE(window->findChildren<QLineEdit *>().size(), names.size());
    for (const QString &name : names)
        QCOMPARE(fieldOf(window, name)->text(), defaultText(*entry, name));
    for (auto *label : window->findChildren<zorvik::calculator::ButtonLabel *>())
        QCOMPARE(label->colour(), QColor(zorvik::calculator::ButtonLabel::normalColour));
}

// Screen readers find every field by its caption.
void TestWindows::captionsNameTheirFields()
{
    QFETCH(const OperationDefinition *, entry);
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    QSet<QLineEdit *> named;
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        auto *field = qobject_cast<QLineEdit *>(label->buddy());
        if (!field)
            continue;
        QVERIFY(label->text().trimmed().endsWith(":"));
        QCOMPARE(field->accessibleName(), label->text().trimmed().chopped(1).trimmed());
        named.insert(field);
    }
    QCOMPARE(named.size(), window->findChildren<QLineEdit *>().size());
}

void TestWindows::buttonLabelsAreAccessibleButtons()
{
    QFETCH(const OperationDefinition *, entry);
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    const QList<zorvik::calculator::ButtonLabel *> labels =
        window->findChildren<zorvik::calculator::ButtonLabel *>();
    QVERIFY(!labels.isEmpty());
    for (zorvik::calculator::ButtonLabel *label : labels) {
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(label);
        QVERIFY(accessible);
        QCOMPARE(accessible->role(), QAccessible::Button);
        QCOMPARE(accessible->text(QAccessible::Name), label->text());
        QAccessibleActionInterface *actions = accessible->actionInterface();
        QVERIFY(actions);
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
        QSignalSpy clicked(label, &zorvik::calculator::ButtonLabel::clicked);
        // Reset presses harmlessly on every window; the others are counted, not run.
        if (label->text() == "Reset") {
            actions->doAction(QAccessibleActionInterface::pressAction());
            QCOMPARE(clicked.size(), 1);
        }
    }
}

void TestWindows::openingAgainKeepsTexts()
{
    QFETCH(const OperationDefinition *, entry);
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    const QString first = solvedFieldNames(*entry).front();
    const QString last = solvedFieldNames(*entry).back();
    typeInto(window, first, "75");
    typeInto(window, last, "3");
    QCOMPARE(open(*entry), window);
    QCOMPARE(m_driver->openSubWindows(), 1);
    QVERIFY(!m_driver->dialog());
    QCOMPARE(fieldOf(window, first)->text(), QString("75"));
    QCOMPARE(fieldOf(window, last)->text(), QString("3"));
    QCOMPARE(m_driver->main()->workArea()->activeSubWindow(),
             zorvik::calculator::ScrollFrame::subWindowOf(window));
}

// Whatever the first page holds, and whichever of its fields are disabled, Reset there brings it
// back to how it opened.
void TestWindows::resetRestoresTheOpeningPage()
{
    QFETCH(const OperationDefinition *, entry);
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    const WindowDesign &design = entry->design();
    const zorvik::design::PageDesign &page = design.pages.front();
    QStringList names;
    for (const zorvik::design::FieldDesign &field : design.fields)
        names << QString::fromStdString(nameOnPage(page, field.name));
    for (const QString &name : names) {
        fieldOf(window, name)->setText("3.5");
        fieldOf(window, name)->setEnabled(false);
    }
    const auto reset = std::find_if(design.buttons.begin(), design.buttons.end(), [](auto &b) {
        return b.action == zorvik::design::Action::Reset;
    });
    QVERIFY(reset != design.buttons.end());
    QTest::mouseClick(labelOf(window, reset->name), Qt::LeftButton);
    for (const QString &name : names) {
        QCOMPARE(fieldOf(window, name)->text(), defaultText(*entry, name));
        QVERIFY(fieldOf(window, name)->isEnabled());
    }
}

void TestWindows::leavingTheWindow_data()
{
    QTest::addColumn<const OperationDefinition *>("entry");
    QTest::addColumn<QString>("how"); // a button label's action, or "Esc"
    QTest::addColumn<bool>("dialogShown");
    for (const OperationDefinition &entry : zorvik::operationDefinitions()) {
        const char *name = entry.design().name;
        QTest::addRow("%s Back", name) << &entry << "Back" << true;
        QTest::addRow("%s Esc", name) << &entry << "Esc" << true;
        QTest::addRow("%s Cancel", name) << &entry << "Cancel" << false;
    }
}

// Back and Esc return to the New Project dialog, Cancel only closes; the texts go with the
// window either way.
void TestWindows::leavingTheWindow()
{
    QFETCH(const OperationDefinition *, entry);
    QFETCH(QString, how);
    QFETCH(bool, dialogShown);

    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    const QString first = solvedFieldNames(*entry).front();
    typeInto(window, first, "42");
    if (how == "Esc") {
        QTest::keyClick(fieldOf(window, first), Qt::Key_Escape);
    } else {
        const auto action =
            how == "Back" ? zorvik::design::Action::Back : zorvik::design::Action::Cancel;
        for (const zorvik::design::ButtonDesign &button : entry->design().buttons) {
            if (button.action == action)
                QTest::mouseClick(labelOf(window, button.name), Qt::LeftButton);
        }
    }
    QTRY_VERIFY(!m_driver->window(entry->design().name));
    QCOMPARE(m_driver->dialog() != nullptr, dialogShown);
    CalculatorWindow *again = open(*entry);
    QVERIFY(again);
    QCOMPARE(fieldOf(again, first)->text(), defaultText(*entry, first));
}

// Reset leaves its page as the window opened it and the other page as it was.
void TestWindows::resetClearsItsOwnPage()
{
    QFETCH(const OperationDefinition *, entry);
    QFETCH(int, page);
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    const QHash<QString, QString> before = fillAll(window);
    showPage(window, page);
    QTest::mouseClick(buttonFor(window, *entry, page, Action::Reset), Qt::LeftButton);
    const QStringList own = pageFields(*entry, page);
    for (QLineEdit *field : window->findChildren<QLineEdit *>()) {
        const QString name = field->objectName();
        QCOMPARE(field->text(), own.contains(name) ? defaultText(*entry, name) : before[name]);
    }
}

// Blank fields of the page take their twin's text, blank or not; the rest stays.
void TestWindows::importFillsBlanksFromTwins()
{
    QFETCH(const OperationDefinition *, entry);
    QFETCH(int, page);
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    const QStringList target = pageFields(*entry, page);
    const QStringList source = pageFields(*entry, 1 - page);
    for (int i = 0; i < target.size(); ++i) {
        fieldOf(window, source[i])->setText(i % 3 == 0 ? QString() : QString::number(i) + ".5");
        fieldOf(window, target[i])->setText(i % 2 == 0 ? QString() : "7");
    }
    showPage(window, page);
    QTest::mouseClick(buttonFor(window, *entry, page, Action::Import), Qt::LeftButton);
    for (int i = 0; i < target.size(); ++i) {
        const QString sourceText = i % 3 == 0 ? QString() : QString::number(i) + ".5";
        QCOMPARE(fieldOf(window, source[i])->text(), sourceText);
        QCOMPARE(fieldOf(window, target[i])->text(), i % 2 == 0 ? sourceText : "7");
    }
}

// The worked example solved on the other page and imported: its results arrive as results,
// saying where they were computed and looking imported, through Calculate too, which leaves them
// as they are, and a job file; Recalculate computes them again from this page, where the last typed
// number is changed, and they look fresh. Typed texts arrive as typed.
void TestWindows::importKeepsWhereTextsCameFrom()
{
    QFETCH(const OperationDefinition *, entry);
    QFETCH(int, page);
    const zorvik::OperationDefinition &operation = *entry;
    const zorvik::test::WorkedExample &example = zorvik::test::workedExample(operation.name);
    const WindowDesign &design = entry->design();
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    auto nameHere = [&](int on, std::string_view name) {
        return QString::fromLatin1(design.pages[std::size_t(on)].prefix) + qtext(name);
    };
    showPage(window, 1 - page);
    for (const auto &[field, text] : example.typed)
        typeInto(window, nameHere(1 - page, field), qtext(text));
    QTest::mouseClick(buttonFor(window, *entry, 1 - page, Action::Calculate), Qt::LeftButton);
    showPage(window, page);
    QTest::mouseClick(buttonFor(window, *entry, page, Action::Import), Qt::LeftButton);
    const QString from = QStringLiteral("Imported from %1, where rule ")
                             .arg(design.pages[std::size_t(1 - page)].caption);
    for (const auto &[field, text] : example.results) {
        QLineEdit *imported = fieldOf(window, nameHere(page, field));
        QCOMPARE(imported->text(), qtext(text));
        QVERIFY2(imported->toolTip().startsWith(from), qPrintable(imported->toolTip()));
        QVERIFY2(looksImported(imported), qPrintable(imported->objectName()));
    }
    // Calculate, then the page saved and read back from a job file.
    QTest::mouseClick(buttonFor(window, *entry, page, Action::Calculate), Qt::LeftButton);
    window->restore(zorvik::job::readJob(zorvik::job::writeJob({{window->record()}}), "job.zorvik")
                        .job.windows.at(0));
    for (const auto &[field, text] : example.results)
        QVERIFY2(looksImported(fieldOf(window, nameHere(page, field))), field.data());
    for (const auto &[field, text] : example.typed) {
        QVERIFY(!fieldOf(window, nameHere(page, field))->toolTip().startsWith("Imported"));
        QCOMPARE(sheetLine(window, *entry, page, nameHere(page, field)).field.origin,
                 QString("typed"));
    }
    for (const auto &[field, text] : example.results)
        QCOMPARE(sheetLine(window, *entry, page, nameHere(page, field)).field.origin,
                 QString("imported"));

    zorvik::test::Texts typed = example.typed;
    typed.back().second = "0.5";
    typeInto(window, nameHere(page, typed.back().first), "0.5");
    QTest::keyClick(fieldOf(window, nameHere(page, typed.back().first)), Qt::Key_F5);
    zorvik::FieldStore expected = zorvik::test::typedPage(operation, typed);
    zorvik::solve(operation.relations, expected);
    for (std::size_t i = 0; i < operation.relations.fields.size(); ++i) {
        QCOMPARE(fieldOf(window, nameHere(page, operation.relations.fields[i]))->text(),
                 QString::fromStdString(expected.texts()[i]));
    }
    for (const auto &[field, text] : example.results) {
        QLineEdit *result = fieldOf(window, nameHere(page, field));
        QVERIFY2(result->text().isEmpty() || looksWritten(result), field.data());
    }
}

// A text that is not a number, left, shows so, and its explanation says how the rules take it.
void TestWindows::nonNumberIsSeenOnLeaving()
{
    QFETCH(const OperationDefinition *, entry);
    QFETCH(int, page);
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    showPage(window, page);
    const zorvik::RelationList &list = entry->relations;
    for (std::size_t i = 0; i < list.fields.size(); ++i) {
        const QString name = QString::fromLatin1(entry->design().pages[std::size_t(page)].prefix) +
                             qtext(list.fields[i]);
        QLineEdit *field = fieldOf(window, name);
        if (!field->isEnabled())
            continue;
        typeInto(window, name, "1.200.0");
        QVERIFY(!field->font().underline());
        QTest::keyClick(field, Qt::Key_Tab);
        const std::string wording =
            zorvik::nonNumberText(list, zorvik::design::fieldCaptions(entry->design(), list),
                                  zorvik::FieldId(i), "1.200.0");
        QVERIFY2(field->font().underline(), qPrintable(name));
        QVERIFY2(field->accessibleDescription().contains(QString::fromStdString(wording)),
                 qPrintable(name + ": " + field->accessibleDescription()));
        typeInto(window, name, "");
        QVERIFY(!field->font().underline());
    }
}

void TestWindows::escapeGoesBackFromEveryPage()
{
    QFETCH(const OperationDefinition *, entry);
    QFETCH(int, page);
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    showPage(window, page);
    QTest::keyClick(fieldOf(window, pageFields(*entry, page).back()), Qt::Key_Escape);
    QTRY_VERIFY(!m_driver->window(entry->design().name));
    QVERIFY(m_driver->dialog() && m_driver->dialog()->isVisible());
}

void TestWindows::tabFollowsTheFieldTable()
{
    QFETCH(const OperationDefinition *, entry);
    QFETCH(int, page);
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    const QStringList names = pageFields(*entry, page);
    // The window opens with the focus in the first field of its first page.
    if (page == 0)
        QCOMPARE(QApplication::focusWidget(), fieldOf(window, names.front()));
    showPage(window, page);
    fieldOf(window, names.front())->setFocus();
    for (const QString &name : names.mid(1)) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget());
        QCOMPARE(QApplication::focusWidget()->objectName(), name);
    }
}

void TestWindows::everyFieldFiltersKeys()
{
    QFETCH(const OperationDefinition *, entry);
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    // A decimal comma keyboard: its comma key and then its keypad decimal key, which types ","
    // too, both give the decimal point.
    const QString keys = "a-1,5 e";
    for (int page = 0; page < window->pageCount(); ++page) {
        showPage(window, page);
        for (const QString &name : pageFields(*entry, page)) {
            KeyFilter filter = KeyFilter::Decimal;
            for (const zorvik::design::FieldFilter &exception : entry->design().filters) {
                if (name == exception.name)
                    filter = exception.filter;
            }
            // A leave step may have locked the field after the last one typed.
            window->reset(page);
            typeInto(window, name, keys);
            QTest::keyClick(fieldOf(window, name), Qt::Key_Comma, Qt::KeypadModifier);
            QTest::keyClick(fieldOf(window, name), Qt::Key_2);
            const QString expected = filter == KeyFilter::Decimal  ? "1.5.2"
                                     : filter == KeyFilter::Digits ? "152"
                                                                   : keys + ",2";
            QVERIFY2(fieldOf(window, name)->text() == expected, qPrintable(name));
        }
    }
}

// Every caption shows whole: field captions and button labels fit their labels, tab captions
// their tabs, and the tab strip ends above the frames of the page.
void TestWindows::captionsAreWhole()
{
    QFETCH(const OperationDefinition *, entry);
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        const QFontMetrics metrics = label->fontMetrics();
        const QString what = label->text() + " in " + label->parentWidget()->objectName();
        QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->contentsRect().width(),
                 qPrintable(what));
        QVERIFY2(metrics.tightBoundingRect(label->text()).height() <=
                     label->contentsRect().height(),
                 qPrintable(what));
    }
    for (const QGroupBox *frame : window->findChildren<QGroupBox *>()) {
        QVERIFY2(frame->fontMetrics().horizontalAdvance(frame->title()) < frame->width(),
                 qPrintable(frame->title()));
    }
    const QTabBar *tabs = window->findChild<QTabBar *>();
    if (!tabs)
        return;
    for (int i = 0; i < tabs->count(); ++i) {
        QVERIFY(tabs->fontMetrics().horizontalAdvance(tabs->tabText(i)) < tabs->tabRect(i).width());
        QVERIFY(tabs->fontMetrics().height() <= tabs->tabRect(i).height());
        QVERIFY(tabs->tabRect(i).bottom() < tabs->height());
    }
    for (const QGroupBox *frame : window->findChildren<QGroupBox *>()) {
        if (frame->parentWidget()->parentWidget() == tabs->parentWidget())
            QVERIFY2(tabs->height() <= frame->y(), qPrintable(frame->objectName()));
    }
}

// A frame's contents begin inside the border it draws; a field or frame reaching past them would
// be drawn across that border.
void TestWindows::fieldsSitInsideTheirFrames()
{
    QFETCH(const OperationDefinition *, entry);
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    int checked = 0;
    for (const QWidget *control : window->findChildren<QWidget *>()) {
        const auto *frame = qobject_cast<const QGroupBox *>(control->parentWidget());
        if (!frame ||
            !(qobject_cast<const QLineEdit *>(control) || qobject_cast<const QGroupBox *>(control)))
            continue;
        QVERIFY2(frame->contentsRect().contains(control->geometry()),
                 qPrintable(control->objectName() + " in " + frame->objectName()));
        ++checked;
    }
    QVERIFY(checked >= window->findChildren<QLineEdit *>().size());
}

void TestWindows::longFieldDrawsTheStretchItShows_data()
{
    QTest::addColumn<const OperationDefinition *>("entry");
    QTest::addColumn<int>("length");
    for (const OperationDefinition &entry : zorvik::operationDefinitions()) {
        for (int length : {9000, 10001, 20000})
            QTest::addRow("%s, %d characters", entry.design().name, length) << &entry << length;
    }
}

// A field drawn from a long text looks exactly as a field holding only the stretch it shows:
// frame, background, text and selection in the same pixels, after a paste (the caret at the
// end) and after Home.
void TestWindows::longFieldDrawsTheStretchItShows()
{
    QFETCH(const OperationDefinition *, entry);
    QFETCH(int, length);
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    // Neither has the focus, whose caret blinks.
    QLineEdit *whole = fieldOf(window, pageFields(*entry, 0)[1]);
    QLineEdit *stretch = fieldOf(window, pageFields(*entry, 0)[2]);
    QCOMPARE(whole->size(), stretch->size());
    // As the window draws it, where it sits.
    auto drawn = [window](QLineEdit *field) {
        return window->grab().toImage().copy(QRect(field->mapTo(window, QPoint()), field->size()));
    };
    // Whole-pixel advances, so that a stretch's positions round as the whole text's do.
    for (QLineEdit *field : {whole, stretch}) {
        QFont font = field->font();
        font.setHintingPreference(QFont::PreferFullHinting);
        field->setFont(font);
    }
    const QString text = QString("0123456789.").repeated(length / 11 + 1).left(length);
    const int shown = 200; // far more characters than a field shows
    whole->setText(text);
    stretch->setText(text.right(shown));
    whole->cursorBackward(true, 3);
    stretch->cursorBackward(true, 3);
    QCOMPARE(drawn(whole), drawn(stretch));
    stretch->setText(text.left(shown));
    for (QLineEdit *field : {whole, stretch}) {
        field->home(false);
        field->cursorForward(true, 3);
    }
    QCOMPARE(drawn(whole), drawn(stretch));
}

// At its designed size a window looks as it would bare: no scroll bars, no margins.
void TestWindows::designedSizeShowsNoScrollBars()
{
    QFETCH(const OperationDefinition *, entry);
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    QMdiSubWindow *sub = zorvik::calculator::ScrollFrame::subWindowOf(window);
    auto *frame = qobject_cast<zorvik::calculator::ScrollFrame *>(sub->widget());
    QVERIFY(frame);
    const zorvik::design::Box &placement = entry->design().placement;
    QCOMPARE(sub->size(),
             zorvik::calculator::twips::rect(0, 0, placement.width, placement.height).size());
    QCOMPARE(frame->designedSize(), sub->size());
    QVERIFY(!frame->horizontalScrollBar()->isVisible());
    QVERIFY(!frame->verticalScrollBar()->isVisible());
    QCOMPARE(window->geometry(), frame->viewport()->rect());
    QCOMPARE(frame->geometry(), sub->contentsRect());
}

void TestWindows::tiledWindowKeepsEveryControlInReach_data()
{
    QTest::addColumn<const OperationDefinition *>("entry");
    QTest::addColumn<QString>("command");
    for (const OperationDefinition &entry : zorvik::operationDefinitions()) {
        QTest::addRow("%s, Tile Horizontally", entry.design().name) << &entry << "mnuhorizon";
        QTest::addRow("%s, Tile Vertically", entry.design().name) << &entry << "mnuvertical";
    }
}

// Tiled beside the New Project dialog, a window is smaller than its design: it scrolls, and
// every control of every page can be scrolled into view. The dialog keeps its size, inside the
// work area, with Ok and Cancel whole.
void TestWindows::tiledWindowKeepsEveryControlInReach()
{
    QFETCH(const OperationDefinition *, entry);
    QFETCH(QString, command);
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    m_driver->main()->showNewProject();
    QTRY_VERIFY(!m_driver->dialog()->isUnrolling());
    QMdiSubWindow *dialogSub = zorvik::calculator::ScrollFrame::subWindowOf(m_driver->dialog());
    const QSize dialogSize = dialogSub->size();
    arrange(qPrintable(command));

    QCOMPARE(dialogSub->size(), dialogSize);
    QVERIFY(workAreaShown().contains(dialogSub->geometry()));
    for (const char *name : {"command1", "command2"}) {
        const QWidget *label = labelOf(m_driver->dialog(), name);
        QVERIFY(
            dialogSub->rect().contains(QRect(label->mapTo(dialogSub, QPoint()), label->size())));
    }

    QMdiSubWindow *sub = zorvik::calculator::ScrollFrame::subWindowOf(window);
    QVERIFY(workAreaShown().contains(sub->geometry()));
    auto *frame = qobject_cast<zorvik::calculator::ScrollFrame *>(sub->widget());
    QVERIFY(frame);
    const QScrollBar *bar =
        command == "mnuhorizon" ? frame->verticalScrollBar() : frame->horizontalScrollBar();
    QTRY_VERIFY(bar->isVisible());
    QWidget *shown = frame->viewport();
    for (int page = 0; page < window->pageCount(); ++page) {
        showPage(window, page);
        // Each control with the part of it that must show: all of it, or each tab of a strip.
        QList<std::pair<QWidget *, QRect>> parts;
        for (QLineEdit *field : window->findChildren<QLineEdit *>())
            parts.append({field, field->rect()});
        for (zorvik::calculator::ButtonLabel *label :
             window->findChildren<zorvik::calculator::ButtonLabel *>())
            parts.append({label, label->rect()});
        for (QTabBar *tabs : window->findChildren<QTabBar *>()) {
            for (int i = 0; i < tabs->count(); ++i)
                parts.append({tabs, tabs->tabRect(i)});
        }
        for (const auto &[control, part] : std::as_const(parts)) {
            if (!control->isVisibleTo(window))
                continue;
            // The whole part, not only a field's caret as ensureWidgetVisible() would; as much
            // of it as the window shows at its designed size.
            const QRect inWindow = QRect(control->mapTo(window, part.topLeft()), part.size())
                                       .intersected(window->rect());
            frame->ensureVisible(inWindow.center().x(), inWindow.center().y(),
                                 inWindow.width() / 2 + 1, inWindow.height() / 2 + 1);
            const QRect at(window->mapTo(shown, inWindow.topLeft()), inWindow.size());
            QVERIFY2(shown->rect().contains(at), qPrintable(control->objectName()));
        }
    }
}

// After a tiling has shrunk it, Cascade gives a window its designed size back, with its close
// box and its bottom edge in view.
void TestWindows::cascadeGivesTheDesignBack()
{
    QFETCH(const OperationDefinition *, entry);
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    m_driver->main()->showNewProject();
    QTRY_VERIFY(!m_driver->dialog()->isUnrolling());
    QMdiSubWindow *dialogSub = zorvik::calculator::ScrollFrame::subWindowOf(m_driver->dialog());
    const QSize dialogSize = dialogSub->size();
    QMdiSubWindow *sub = zorvik::calculator::ScrollFrame::subWindowOf(window);
    const QSize designed = sub->size();
    arrange("mnuvertical");
    QVERIFY(sub->width() < designed.width());
    arrange("mnucascade");
    QCOMPARE(sub->size(), designed);
    QCOMPARE(dialogSub->size(), dialogSize);
    QVERIFY(workAreaShown().contains(sub->geometry()));
    QVERIFY(workAreaShown().contains(dialogSub->geometry()));
    auto *frame = qobject_cast<zorvik::calculator::ScrollFrame *>(sub->widget());
    QTRY_VERIFY(!frame->horizontalScrollBar()->isVisible());
    QVERIFY(!frame->verticalScrollBar()->isVisible());
}

void TestWindows::resetComparesTags_data()
{
    QTest::addColumn<TagMatch>("match");
    QTest::addColumn<QByteArray>("roughingTag");
    QTest::addColumn<QByteArray>("finishingTag");
    QTest::addColumn<bool>("finishingCleared"); // by the roughing Reset
    QTest::newRow("same text") << TagMatch::Text << QByteArray("2") << QByteArray("2") << true;
    QTest::newRow("texts differ") << TagMatch::Text << QByteArray("1") << QByteArray("1.0")
                                  << false;
    QTest::newRow("same number") << TagMatch::Number << QByteArray("1") << QByteArray("1.0")
                                 << true;
    QTest::newRow("numbers differ")
        << TagMatch::Number << QByteArray("1") << QByteArray("2") << false;
}

void TestWindows::resetComparesTags()
{
    QFETCH(TagMatch, match);
    QFETCH(QByteArray, roughingTag);
    QFETCH(QByteArray, finishingTag);
    QFETCH(bool, finishingCleared);
    const OperationDefinition &entry = zorvik::operationDefinitions().front();
    WindowDesign design = entry.design();
    design.tagMatch = match;
    design.pages[0].tag = roughingTag.constData();
    design.pages[1].tag = finishingTag.constData();
    CalculatorWindow window(design, entry);
    const QString roughing = pageFields(entry, 0).front();
    const QString finishing = pageFields(entry, 1).front();
    fieldOf(&window, roughing)->setText("5");
    fieldOf(&window, finishing)->setText("5");
    window.reset(0);
    QCOMPARE(fieldOf(&window, roughing)->text(), QString());
    QCOMPARE(fieldOf(&window, finishing)->text(), finishingCleared ? QString() : "5");
}

// A window reaches the application only through the host it was opened with.
void TestWindows::backGoesToTheHost()
{
    RecordingHost host;
    const OperationDefinition &entry = zorvik::operationDefinitions().front();
    QPointer<CalculatorWindow> window = CalculatorWindow::open(entry, host);
    QVERIFY(window);
    QVERIFY(!window->parentWidget());
    window->back();
    QCOMPARE(host.newProjectShown, 1);
    QTRY_VERIFY(!window);
}

void TestWindows::windowKeepsItsOwnDesign()
{
    const OperationDefinition &entry = zorvik::operationDefinitions().front();
    auto design = std::make_unique<WindowDesign>(entry.design());
    auto *window = new CalculatorWindow(*design, entry);
    // What the window was built from may change or go away.
    design->pages.clear();
    design->fields.clear();
    design.reset();
    QCOMPARE(window->pageCount(), int(entry.design().pages.size()));
    typeInto(window, "txtnoc", "");
    window->reset(0);
    QCOMPARE(fieldOf(window, "txtnoc")->text(), defaultText(entry, "txtnoc"));
    delete window;
}

void TestWindows::designMistakesAreNamed_data()
{
    using Change = std::function<void(WindowDesign &)>;
    QTest::addColumn<Change>("change");
    QTest::addColumn<QString>("message");
    QTest::newRow("hover label") << Change([](WindowDesign &d) {
        d.hover.front().labels.push_back("command9");
    }) << "hover: no button label command9";
    QTest::newRow("hover surface")
        << Change([](WindowDesign &d) { d.hover.front().surfaces.push_back("Frame9"); })
        << "hover: no control Frame9";
    QTest::newRow("field frame") << Change([](WindowDesign &d) {
        d.fields.front().frame = "Frame8";
    }) << "no frame Frame8";
    QTest::newRow("frame parent") << Change([](WindowDesign &d) {
        d.frames.back().parent = "Frame7";
    }) << "no frame Frame7 before it";
    QTest::newRow("button frame") << Change([](WindowDesign &d) { d.buttonFrame = "Frame6"; })
                                  << "no button frame Frame6";
    QTest::newRow("key filter") << Change([](WindowDesign &d) {
        d.filters.push_back({"txtnothing", zorvik::design::KeyFilter::Digits});
    }) << "key filter for txtnothing";
    QTest::newRow("relation field")
        << Change([](WindowDesign &d) { d.fields.pop_back(); }) << "no field for";
    QTest::newRow("name twice") << Change([](WindowDesign &d) {
        d.fields.push_back(d.fields.front());
    }) << "two controls named";
    QTest::newRow("caption twice")
        << Change([](WindowDesign &d) { d.fields.back().caption = d.fields.front().caption; })
        << "share the caption";
    QTest::newRow("tab control") << Change([](WindowDesign &d) { d.tabControl = ""; })
                                 << "two pages but no tab control";
    QTest::newRow("import on three pages") << Change([](WindowDesign &d) {
        d.pages.push_back({"Third", "t", ""});
    }) << "3 pages, but Import takes from the other of two";
    QTest::newRow("tab control on one page")
        << Change([](WindowDesign &d) { d.pages.pop_back(); }) << "tab control t1 on a single page";
    QTest::newRow("leave step field") << Change([](WindowDesign &d) {
        d.leaveSteps.push_back({{"txtnowhere"}, [](zorvik::design::PageState &) {}});
    }) << "leave step for txtnowhere";
    QTest::newRow("empty leave step") << Change([](WindowDesign &d) {
        d.leaveSteps.push_back({{"txtnoc"}, nullptr});
    }) << "a leave step that does nothing";
    QTest::newRow("tag no number") << Change([](WindowDesign &d) {
        d.tagMatch = TagMatch::Number;
        d.pages.front().tag = "x";
    }) << "page tag \"x\" is no number";
}

void TestWindows::designMistakesAreNamed()
{
    using Change = std::function<void(WindowDesign &)>;
    QFETCH(Change, change);
    QFETCH(QString, message);
    const OperationDefinition &entry = zorvik::operationDefinitions().front();
    WindowDesign design = entry.design();
    change(design);
    const std::vector<std::string> problems =
        zorvik::design::designProblems(design, entry.relations, entry.defaults);
    QVERIFY(!problems.empty());
    bool named = false;
    for (const std::string &problem : problems) {
        QVERIFY(QString::fromStdString(problem).startsWith(design.name));
        named = named || QString::fromStdString(problem).contains(message);
    }
    QVERIFY2(named, problems.front().c_str());
}

// Every option of the New Project dialog maps to one row of the operations table.
void TestWindows::everyOptionIsOffered()
{
    m_driver->main()->showNewProject();
    QSet<QString> offered;
    QSet<std::string_view> operations;
    for (const OperationDefinition &entry : zorvik::operationDefinitions()) {
        offered.insert(entry.option.name);
        operations.insert(entry.name);
    }
    QSet<QString> options;
    for (const QRadioButton *option : m_driver->dialog()->findChildren<QRadioButton *>())
        options.insert(option->objectName());
    QCOMPARE(offered, options);
    QCOMPARE(operations.size(), qsizetype(zorvik::operationDefinitions().size()));
}

// Run in a child process: a window built from a misspelt design must stop the program in every
// build type, naming the mistake.
void TestWindows::misspeltDesignStopsTheProgram()
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {"--build-misspelt-design"});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    const QString errors = QString::fromLocal8Bit(child.readAllStandardError());
    QVERIFY2(errors.contains("hover: no button label command9"), qPrintable(errors));
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (app.arguments().contains("--build-misspelt-design")) {
        const OperationDefinition &entry = zorvik::operationDefinitions().front();
        WindowDesign design = entry.design();
        design.hover.front().labels.push_back("command9");
        CalculatorWindow window(design, entry);
        return 0;
    }
    TestWindows test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_windows.moc"
