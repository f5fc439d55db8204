// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/calculator/windowdriver.h"

#include "app/jobkeeper.h"
#include "app/operationwindows.h"
#include "calculator/sheetprint.h"
#include "calculator/usersettings.h"
#include "examples/workedexamples.h"
#include "job/jobformat.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <csignal>
#include <cstdint>
#include <functional>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace zorvik;
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
    void failedWriteKeepsTheOldFile_data();
    void failedWriteKeepsTheOldFile();
    void recoveryFileIsEachCalculatorsOwn();
    void refusesWhatIsNoJobFile_data();
    void refusesWhatIsNoJobFile();

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

namespace {

// A calculator window as the job keeper sees it: one field's text, and word of each change.
class TextWindow : public QWidget, public zorvik::calculator::JobWindow {
public:
    job::WindowRecord record() const override
    {
        job::WindowRecord record;
        record.operation = "drilling";
        record.pages.resize(1);
        record.pages[0].fields.emplace_back();
        record.pages[0].fields[0].name = "txtidiam";
        record.pages[0].fields[0].text = text;
        return record;
    }
    void restore(const job::WindowRecord &record) override
    {
        text = record.pages.at(0).fields.at(0).text;
    }
    void setChangeListener(std::function<void()> listener) override
    {
        changed = std::move(listener);
    }
    void type(const std::string &typed)
    {
        text = typed;
        changed();
    }

    std::string text = "60";
    std::function<void()> changed;
};

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// A write that runs out of room part of the way through, where a short write can pass for a
// whole one: on a file system of 64 KiB that the reliability script mounts and names in
// ZORVIK_FULL_DISK, which the bytes written fill up; or past a file size limit of 16 KiB, as
// ulimit -f sets, while the object lives, with the signal that would end the program ignored as
// the calculator does.
class RunsOutOfRoom {
public:
    static constexpr const char *fullDiskVariable = "ZORVIK_FULL_DISK";

    explicit RunsOutOfRoom(bool fullDisk) : m_fullDisk(fullDisk)
    {
        if (fullDisk)
            return;
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_limit);
        rlimit small = m_limit;
        small.rlim_cur = 16384;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~RunsOutOfRoom()
    {
        if (!m_fullDisk)
            ::setrlimit(RLIMIT_FSIZE, &m_limit);
    }
    // Why a write fails there, as the system says it.
    static QString why(bool fullDisk)
    {
        return fullDisk ? QStringLiteral("No space left on device")
                        : QStringLiteral("File too large");
    }

private:
    bool m_fullDisk;
    rlimit m_limit{};
};

// Digits that no compression shrinks much, so that a PDF of them is as big as they are.
std::string scrambledDigits(std::size_t count)
{
    std::string digits;
    std::uint32_t state = 1;
    for (std::size_t i = 0; i < count; ++i) {
        state = state * 1103515245u + 12345u;
        digits += char('0' + (state >> 16) % 10);
    }
    return digits;
}

} // namespace

void TestJobKeeper::failedWriteKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<bool>("fullDisk");
    for (const char *what : {"save", "recovery", "pdf", "settings"}) {
        QTest::addRow("%s, size limit", what) << QString(what) << false;
        QTest::addRow("%s, full disk", what) << QString(what) << true;
    }
}

// Whatever the calculator writes (a job saved, the recovery file, a PDF, the settings), a write
// the disk cannot take whole leaves the file written before byte for byte, tells the user what
// failed and where, once for a run of failures, and a saved job stays unsaved.
void TestJobKeeper::failedWriteKeepsTheOldFile()
{
    QFETCH(QString, what);
    QFETCH(bool, fullDisk);
    QTemporaryDir scratch;
    const QString dir =
        fullDisk ? qEnvironmentVariable(RunsOutOfRoom::fullDiskVariable) : scratch.path();
    if (dir.isEmpty())
        QSKIP("no full file system given (ZORVIK_FULL_DISK); tests/reliability/gui_writes.sh "
              "mounts one");
    const std::string big = scrambledDigits(200000);
    QStringList told;
    auto tell = [&told](const QString &message) { told << message; };
    JobKeeper &jobs = m_driver->main()->jobs();
    jobs.setQuestions({{}, {}, {}, tell, tell});
    calculator::setSettingsFailureHandler(tell);
    auto *window = new TextWindow;
    m_driver->main()->workArea()->addSubWindow(window)->show();

    QString target;
    QString config;
    std::function<bool()> write;
    if (what == "save") {
        target = dir + "/bracket.zorvik";
        write = [&] { return jobs.saveTo(target); };
    } else if (what == "recovery") {
        jobs.setRecoveryDirectory(dir + "/state");
        target = jobs.recoveryPath();
        write = [&] { return jobs.writeRecovery(), told.isEmpty(); };
    } else if (what == "pdf") {
        target = dir + "/bracket.pdf";
        write = [&] {
            calculator::SheetField field;
            field.caption = "Drill diameter";
            field.text = QString::fromStdString(window->text);
            calculator::JobSheet sheet;
            sheet.pages.resize(1);
            sheet.pages[0].operation = "Drilling";
            sheet.pages[0].fields.push_back(field);
            const QString error = calculator::writeSheetPdf(sheet, target);
            if (!error.isEmpty())
                tell(error);
            return error.isEmpty();
        };
    } else {
        config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir + "/config");
        target = calculator::userSettings().fileName();
        write = [&] {
            QSettings store = calculator::userSettings();
            store.setValue("recentJobs", QStringList{QString::fromStdString(window->text)});
            return calculator::keepSettings(store);
        };
    }
    QVERIFY(write());
    const QByteArray before = contents(target);
    window->type(big);
    {
        const RunsOutOfRoom trouble(fullDisk);
        QVERIFY(!write());
        // What is written behind the user's back tells a run of failures once.
        if (what == "recovery" || what == "settings")
            QVERIFY(!write());
    }
    if (what == "settings")
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config);
    QCOMPARE(contents(target), before);
    QCOMPARE(QDir(QFileInfo(target).path()).entryList(QDir::Hidden | QDir::Files).filter(".XX"),
             QStringList());
    QCOMPARE(told.size(), 1);
    QVERIFY2(told[0].contains(QFileInfo(target).fileName()) &&
                 told[0].contains(RunsOutOfRoom::why(fullDisk)),
             qPrintable(told[0]));
    if (what == "save") {
        QVERIFY(jobs.modified());
        QVERIFY(m_driver->main()->windowTitle().endsWith("bracket.zorvik*"));
    }
    if (fullDisk)
        QFile::remove(target);
}

// Two calculators running share the state directory, each with a file of its own: the second
// neither offers nor removes the first's; once the first is gone without a clean exit, its file
// is offered. The directory the calculator makes is the user's alone, and so are the files.
void TestJobKeeper::recoveryFileIsEachCalculatorsOwn()
{
    QTemporaryDir scratch;
    const QString state = scratch.filePath("state/Zorvik-Engineer");
    auto *first = new MainWindow;
    first->jobs().setRecoveryDirectory(state);
    first->workArea()->addSubWindow(new TextWindow)->show();
    first->jobs().watchWindows();
    first->jobs().writeRecovery();
    const QString kept = first->jobs().recoveryPath();
    QVERIFY(QFile::exists(kept));

    int offered = 0;
    JobKeeper &second = m_driver->main()->jobs();
    second.setQuestions({{}, {}, [&offered] { return ++offered, false; }, {}, {}});
    second.setRecoveryDirectory(state);
    second.offerRecovery();
    QCOMPARE(offered, 0);
    QVERIFY(QFile::exists(kept));
    QVERIFY(second.recoveryPath() != kept);

    struct stat status;
    QCOMPARE(::stat(QFile::encodeName(state).constData(), &status), 0);
    QCOMPARE(status.st_mode & 07777, 0700u);
    QCOMPARE(::stat(QFile::encodeName(kept).constData(), &status), 0);
    QCOMPARE(status.st_mode & 07777, 0600u);

    delete first;
    QVERIFY(QFile::exists(kept));
    second.offerRecovery();
    QCOMPARE(offered, 1);
    QVERIFY(!QFile::exists(kept));
}

void TestJobKeeper::refusesWhatIsNoJobFile_data()
{
    QTest::addColumn<QString>("made");
    QTest::addColumn<QString>("said");
    QTest::newRow("named pipe") << "fifo"
                                << "is a named pipe, not a job file";
    QTest::newRow("directory") << "dir"
                               << "is a directory, not a job file";
    QTest::newRow("device") << "/dev/null"
                            << "is a device, not a job file";
}

// Open, Open Recent and the command line all open through the keeper: what is not a regular
// file is refused, naming it, before a read could wait on it for ever.
void TestJobKeeper::refusesWhatIsNoJobFile()
{
    QFETCH(QString, made);
    QFETCH(QString, said);
    QTemporaryDir scratch;
    QString path = made;
    if (made == "fifo") {
        path = scratch.filePath("job.zorvik");
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (made == "dir") {
        path = scratch.filePath("jobs.zorvik");
        QVERIFY(QDir().mkdir(path));
    }
    QStringList told;
    m_driver->main()->jobs().setQuestions(
        {{}, {}, {}, [&told](const QString &message) { told << message; }, {}});
    QVERIFY(!m_driver->main()->jobs().openFile(path));
    QCOMPARE(told.size(), 1);
    QVERIFY2(told[0].contains("'" + path + "' " + said), qPrintable(told[0]));
}

QTEST_MAIN(TestJobKeeper)
#include "test_jobkeeper.moc"
