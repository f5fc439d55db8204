// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/calculator/windowdriver.h"

#include "app/jobkeeper.h"
#include "app/operationwindows.h"
#include "calculator/usersettings.h"
#include "examples/workedexamples.h"
#include "job/jobformat.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

using zorvik::OperationDefinition;
using zorvik::calculator::CalculatorWindow;

namespace {

// Everything a field shows the user: its text, whether it takes keys, its explanation and look.
QStringList shown(QWidget *window)
{
    QStringList all;
    for (QLineEdit *field : window->findChildren<QLineEdit *>()) {
        all << field->objectName() + "=" + field->text() << field->toolTip()
            << field->accessibleDescription()
            << field->palette().color(QPalette::Text).name() +
                   field->palette().color(QPalette::Base).name()
            << QString::number(field->font().italic()) + QString::number(field->font().underline())
            << QString::number(field->isEnabled());
    }
    return all;
}

} // namespace

class TestJobKeeper : public WindowSuite {
    Q_OBJECT

private slots:
    // A save lists the job among the recent ones in the user's settings: in Qt's test locations,
    // never the real ones.
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        zorvik::calculator::userSettings().clear();
    }
    void jobKeepsEverythingShown_data() { addPageRows(); }
    void jobKeepsEverythingShown();

private:
    CalculatorWindow *open(const OperationDefinition &entry)
    {
        return m_driver->open(entry.design().name);
    }
};

// A page solved, then left with out-of-date results, a text that is not a number and a result
// beyond the machine, saved, closed, reopened (Window > Reopen Closed Window) and opened again
// from the file, shows all of it as it was; a file refused on the way changes nothing.
// Then what keeps the job safe: a failed save, the question at Exit, the recovery file.
void TestJobKeeper::jobKeepsEverythingShown()
{
    QFETCH(const OperationDefinition *, entry);
    QFETCH(int, page);
    const zorvik::test::WorkedExample &example = zorvik::test::workedExample(entry->name);
    const QString prefix = QString::fromLatin1(entry->design().pages[std::size_t(page)].prefix);
    zorvik::JobKeeper &jobs = m_driver->main()->jobs();
    jobs.setOpener(zorvik::jobWindowOpener());
    QStringList failures;
    jobs.setQuestions({{}, {}, {}, [&](const QString &message) { failures << message; }, {}});
    CalculatorWindow *window = open(*entry);
    QVERIFY(window);
    showPage(window, page);
    for (const auto &[field, text] : example.typed)
        typeInto(window, prefix + qtext(field), qtext(text));
    window->calculate(page);
    const auto &[firstField, firstText] = example.typed.front();
    typeInto(window, prefix + qtext(firstField), qtext(firstText) + "..2");
    QTest::keyClick(fieldOf(window, prefix + qtext(firstField)), Qt::Key_Tab);
    zorvik::Machine tiny{"Tiny \"T\"", {}, 1, {}, {}, {}, {}};
    window->setMachine(tiny);
    const QStringList before = shown(window);
    const std::string recordBefore = zorvik::job::writeJob({{window->record()}});

    QTemporaryDir dir;
    const QString path = dir.filePath("bracket.zorvik");
    QVERIFY(jobs.saveTo(path));
    QCOMPARE(m_driver->main()->windowTitle(), "Zorvik - Machining Engineer - bracket.zorvik");
    QFile bad(dir.filePath("bad.zorvik"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray::fromStdString(recordBefore).replace("\"page shown\"", "\"paje\""));
    bad.close();
    QVERIFY(!jobs.openFile(bad.fileName()));
    QCOMPARE(failures.size(), 1);
    QVERIFY2(failures[0].contains("bad.zorvik': window 1") && failures[0].contains("'paje'"),
             qPrintable(failures[0]));
    QCOMPARE(shown(window), before);

    zorvik::calculator::ScrollFrame::subWindowOf(window)->close();
    QTRY_VERIFY(!m_driver->window(entry->design().name));
    m_driver->main()->findChild<QAction *>("mnureopen")->trigger();
    CalculatorWindow *reopened = m_driver->window(entry->design().name);
    QVERIFY(reopened);
    QCOMPARE(shown(reopened), before);
    // Never over a window of the same operation opened since.
    zorvik::calculator::ScrollFrame::subWindowOf(reopened)->close();
    QTRY_VERIFY(!m_driver->window(entry->design().name));
    CalculatorWindow *fresh = open(*entry);
    const QStringList opened = shown(fresh);
    m_driver->main()->findChild<QAction *>("mnureopen")->trigger();
    QCOMPARE(shown(fresh), opened);
    QVERIFY(jobs.openFile(path));
    CalculatorWindow *again = m_driver->window(entry->design().name);
    QVERIFY(again);
    QCOMPARE(again->shownPage(), page);
    QCOMPARE(again->machine()->name, tiny.name);
    QCOMPARE(shown(again), before);
    QCOMPARE(zorvik::job::writeJob({{again->record()}}), recordBefore);
    QCOMPARE(m_driver->main()->windowTitle(), "Zorvik - Machining Engineer - bracket.zorvik");
    typeInto(again, prefix + qtext(firstField), "7");
    QCOMPARE(m_driver->main()->windowTitle(), "Zorvik - Machining Engineer - bracket.zorvik*");

    // A save that fails is told, and the job stays unsaved; the file saved before is whole.
    QVERIFY(!jobs.saveTo(dir.filePath("gone/bracket.zorvik")));
    QCOMPARE(failures.size(), 2);
    QVERIFY2(failures[1].contains("gone/bracket.zorvik"), qPrintable(failures[1]));
    QVERIFY(jobs.modified());
    QVERIFY(!zorvik::job::readJobFile(path.toStdString()).error);

    // A recovery file is offered back at start, the single one of earlier versions too, and goes
    // once this calculator's own holds its windows. Unsaved changes are asked about at Exit;
    // Cancel keeps everything, Discard leaves, and a clean exit leaves no recovery file.
    jobs.setRecoveryDirectory(dir.filePath("state"));
    QVERIFY(QDir().mkpath(dir.filePath("state")));
    QVERIFY(QFile::copy(path, dir.filePath("state/recovery.zorvik")));
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
    int asked = 0;
    jobs.setQuestions({{}, [&] { return ++asked, answer; }, [] { return true; }, {}, {}});
    jobs.offerRecovery();
    QCOMPARE(shown(m_driver->window(entry->design().name)), before);
    QVERIFY(!QFile::exists(dir.filePath("state/recovery.zorvik")));
    QVERIFY(QFile::remove(jobs.recoveryPath()));
    typeInto(m_driver->window(entry->design().name), prefix + qtext(firstField), "8");
    QTRY_VERIFY(QFile::exists(jobs.recoveryPath()));
    QVERIFY(!m_driver->main()->close());
    QVERIFY(m_driver->window(entry->design().name));
    answer = QMessageBox::Discard;
    QVERIFY(m_driver->main()->close());
    QCOMPARE(asked, 2);
    QVERIFY(!QFile::exists(jobs.recoveryPath()));
}

QTEST_MAIN(TestJobKeeper)
#include "test_jobkeeper.moc"
