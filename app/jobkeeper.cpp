// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/jobkeeper.h"

#include "calculator/scrollframe.h"
#include "calculator/usersettings.h"
#include "job/filewrite.h"
#include "job/jobformat.h"
#include "page/pagemodel.h"
#include "solver/quotedtext.h"
#include "wording/wording.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSettings>
#include <QStatusBar>
#include <QtDebug>

#include <algorithm>
#include <iterator>

#include <sys/stat.h>

namespace zorvik {

namespace {

constexpr int recentCount = 8;
constexpr int closedCount = 10;
// A change is written to the recovery file this long after it, and no more often.
constexpr int recoveryDelayMs = 1000;
const QString suffix = QStringLiteral(".zorvik");
// The main window's, which its questions carry.
const QString caption = QStringLiteral("Zorvik - Machining Engineer");

const auto recentKey = QStringLiteral("recentJobs");
// Recovery files are "recovery-<process>-<start>.zorvik"; before each calculator had its own
// there was one "recovery.zorvik", still read when a calculator of then left it.
const QString recoveryPrefix = QStringLiteral("recovery");

QString quoted(const QString &path)
{
    return QString::fromStdString(quotedText(QDir::toNativeSeparators(path).toStdString(), 200));
}

// Bytes to path through a temporary file beside it; "" or why it failed.
QString writeAtomically(const QString &path, const std::string &bytes,
                        job::FileAccess access = job::FileAccess::Shared)
{
    const std::optional<job::FileWriteError> error =
        job::writeFileAtomically(QFile::encodeName(path).toStdString(), bytes, access);
    return error ? QString::fromLocal8Bit(wording(*error)) : QString();
}

// The lock a calculator holds beside its recovery file while it runs.
QString lockPathOf(const QString &recoveryFile)
{
    return recoveryFile.chopped(suffix.size()) + QStringLiteral(".lock");
}

// A file the reader would wait on for ever (a named pipe, a device) or cannot read (a
// directory) is refused before it is opened; "" for a regular file or one that is not there,
// which the reader tells about.
QString notAJobFile(const QString &path)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || S_ISREG(status.st_mode))
        return QString();
    const char *what = S_ISDIR(status.st_mode)                              ? "a directory"
                       : S_ISFIFO(status.st_mode)                           ? "a named pipe"
                       : S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode) ? "a device"
                       : S_ISSOCK(status.st_mode)                           ? "a socket"
                                                                            : "no regular file";
    return QStringLiteral("%1 is %2, not a job file.").arg(quoted(path), QLatin1String(what));
}

JobKeeper::Questions askTheUser(QWidget *window)
{
    JobKeeper::Questions questions;
    questions.file = [window](bool save, const QString &suggested) {
        const QString filter = QStringLiteral("Zorvik jobs (*.zorvik);;All files (*)");
        if (!save)
            return QFileDialog::getOpenFileName(window, QStringLiteral("Open Job"), suggested,
                                                filter);
        QString path =
            QFileDialog::getSaveFileName(window, QStringLiteral("Save Job"), suggested, filter);
        if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
            path += suffix;
        return path;
    };
    questions.unsaved = [window] {
        QMessageBox box(QMessageBox::Warning, caption,
                        QStringLiteral("The job has unsaved changes."),
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, window);
        box.setObjectName(QStringLiteral("unsavedChanges"));
        box.setInformativeText(QStringLiteral("Save them before the windows close?"));
        box.setDefaultButton(QMessageBox::Save);
        return static_cast<QMessageBox::StandardButton>(box.exec());
    };
    questions.restore = [window] {
        QMessageBox box(QMessageBox::Question, caption,
                        QStringLiteral("The calculator did not close cleanly last time."),
                        QMessageBox::NoButton, window);
        box.setObjectName(QStringLiteral("restoreWindows"));
        box.setInformativeText(
            QStringLiteral("Restore the windows as they were a moment before it ended?"));
        QPushButton *restore = box.addButton(QStringLiteral("Restore"), QMessageBox::AcceptRole);
        box.addButton(QStringLiteral("Discard"), QMessageBox::DestructiveRole);
        box.setDefaultButton(restore);
        box.exec();
        return box.clickedButton() == restore;
    };
    questions.failed = [window](const QString &message) {
        QMessageBox box(QMessageBox::Warning, caption, message, QMessageBox::Ok, window);
        box.setObjectName(QStringLiteral("jobFailed"));
        box.exec();
    };
    // The recovery file is written a second after each change: a box each time would stop the
    // user typing, so the status bar says it until it is over, and the log keeps it.
    questions.notice = [window](const QString &message) {
        if (!message.isEmpty())
            qWarning().noquote() << message;
        if (auto *main = qobject_cast<QMainWindow *>(window)) {
            if (message.isEmpty())
                main->statusBar()->clearMessage();
            else
                main->statusBar()->showMessage(message);
        }
    };
    return questions;
}

} // namespace

JobKeeper::JobKeeper(QWidget *window, calculator::WindowHost &host)
    : QObject(window), m_window(window), m_host(host), m_questions(askTheUser(window))
{
    m_recoveryTimer.setSingleShot(true);
    m_recoveryTimer.setInterval(recoveryDelayMs);
    connect(&m_recoveryTimer, &QTimer::timeout, this, &JobKeeper::writeRecovery);
}

JobKeeper::~JobKeeper() = default;

// The start is in milliseconds, and one later than the last keeper's of this process, so that
// no two keepers share a file.
void JobKeeper::setRecoveryDirectory(const QString &directory)
{
    static qint64 lastStart = 0;
    lastStart = std::max(lastStart + 1, QDateTime::currentMSecsSinceEpoch());
    m_recoveryLock.reset();
    m_recoveryDirectory = directory;
    m_recoveryPath = directory.isEmpty()
                         ? QString()
                         : QDir(directory).filePath(QStringLiteral("%1-%2-%3%4")
                                                        .arg(recoveryPrefix)
                                                        .arg(QCoreApplication::applicationPid())
                                                        .arg(lastStart)
                                                        .arg(suffix));
}

QString JobKeeper::jobName() const
{
    if (m_path.isEmpty())
        return QString();
    return QFileInfo(m_path).fileName() + (m_modified ? QStringLiteral("*") : QString());
}

std::vector<calculator::JobWindow *> JobKeeper::jobWindows() const
{
    std::vector<calculator::JobWindow *> windows;
    if (QMdiArea *area = m_host.workArea()) {
        for (QMdiSubWindow *sub : area->subWindowList()) {
            auto *window =
                dynamic_cast<calculator::JobWindow *>(calculator::ScrollFrame::contentOf(sub));
            if (window && !sub->isHidden())
                windows.push_back(window);
        }
    }
    return windows;
}

job::Job JobKeeper::current() const
{
    job::Job job;
    for (const calculator::JobWindow *window : jobWindows())
        job.windows.push_back(window->record());
    return job;
}

void JobKeeper::watchWindows()
{
    for (calculator::JobWindow *window : jobWindows()) {
        const auto *object = dynamic_cast<const QObject *>(window);
        if (m_watched.contains(object))
            continue;
        m_watched.insert(object);
        connect(object, &QObject::destroyed, this, [this, object] { m_watched.remove(object); });
        window->setChangeListener([this] { changed(); });
        changed();
    }
}

void JobKeeper::changed()
{
    if (m_replacing)
        return;
    if (!m_modified) {
        m_modified = true;
        emit nameChanged();
    }
    if (!m_recoveryPath.isEmpty() && !m_recoveryTimer.isActive())
        m_recoveryTimer.start();
}

void JobKeeper::windowClosing(QMdiSubWindow *sub)
{
    auto *window = dynamic_cast<calculator::JobWindow *>(calculator::ScrollFrame::contentOf(sub));
    if (!window || sub->isHidden() || m_replacing)
        return;
    m_closed.push_back(window->record());
    if (m_closed.size() > closedCount)
        m_closed.erase(m_closed.begin());
    // The window is still in the work area; the recovery file is written once it is gone.
    QTimer::singleShot(0, this, &JobKeeper::changed);
}

// A window of an operation is open once at most: a closed one comes back only while its
// operation has none open, so that nothing the user typed since is written over.
void JobKeeper::reopenClosed()
{
    std::vector<std::string> open;
    for (const calculator::JobWindow *window : jobWindows())
        open.push_back(window->record().operation);
    for (auto closed = m_closed.rbegin(); closed != m_closed.rend(); ++closed) {
        if (std::find(open.begin(), open.end(), closed->operation) != open.end())
            continue;
        const job::WindowRecord record = std::move(*closed);
        m_closed.erase(std::next(closed).base());
        if (opened(record)) {
            watchWindows();
            changed();
        }
        return;
    }
}

calculator::JobWindow *JobKeeper::opened(const job::WindowRecord &record)
{
    calculator::JobWindow *window = m_opener ? m_opener(record.operation, m_host) : nullptr;
    if (window)
        window->restore(record);
    return window;
}

bool JobKeeper::askToSave()
{
    if (!m_modified || jobWindows().empty())
        return true;
    switch (m_questions.unsaved()) {
    case QMessageBox::Save:
        return save();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

bool JobKeeper::open()
{
    if (!askToSave())
        return false;
    const QString path = m_questions.file(false, QFileInfo(m_path).absolutePath());
    return !path.isEmpty() && openFile(path);
}

// The file is read and checked whole before any window changes, so a refusal leaves them as
// they are.
bool JobKeeper::openFile(const QString &path)
{
    QString error = notAJobFile(path);
    job::JobRead read;
    if (error.isEmpty()) {
        read = readJobPages(QFile::encodeName(path).toStdString());
        if (read.error)
            error = QString::fromStdString(wording(*read.error));
    }
    if (!error.isEmpty()) {
        m_questions.failed(QStringLiteral("The job could not be opened.\n\n%1").arg(error));
        return false;
    }
    show(read.job);
    setSaved(QFileInfo(path).absoluteFilePath());
    return true;
}

void JobKeeper::show(const job::Job &job)
{
    {
        const QScopedValueRollback<bool> replacing(m_replacing, true);
        for (calculator::JobWindow *window : jobWindows()) {
            if (QMdiSubWindow *sub =
                    calculator::ScrollFrame::subWindowOf(dynamic_cast<QWidget *>(window)))
                sub->close();
        }
        for (const job::WindowRecord &record : job.windows) {
            if (opened(record))
                watchWindows();
        }
    }
    if (!m_recoveryPath.isEmpty())
        m_recoveryTimer.start();
}

bool JobKeeper::save()
{
    return m_path.isEmpty() ? saveAs() : saveTo(m_path);
}

bool JobKeeper::saveAs()
{
    QString suggested = m_path;
    if (suggested.isEmpty())
        suggested = QDir::home().filePath(QStringLiteral("job") + suffix);
    const QString path = m_questions.file(true, suggested);
    return !path.isEmpty() && saveTo(path);
}

bool JobKeeper::saveTo(const QString &path)
{
    const QString error = writeAtomically(path, job::writeJob(current()));
    if (!error.isEmpty()) {
        m_questions.failed(
            QStringLiteral("The job could not be saved to %1: %2.\n\nThe file there, if any, is "
                           "as it was; the windows keep everything.")
                .arg(quoted(path), error));
        return false;
    }
    setSaved(QFileInfo(path).absoluteFilePath());
    return true;
}

void JobKeeper::setSaved(const QString &path)
{
    m_path = path;
    m_modified = false;
    remember(path);
    emit nameChanged();
}

void JobKeeper::remember(const QString &path)
{
    QSettings store = calculator::userSettings();
    QStringList recent = store.value(recentKey).toStringList();
    recent.removeAll(path);
    recent.prepend(path);
    while (recent.size() > recentCount)
        recent.removeLast();
    store.setValue(recentKey, recent);
    calculator::keepSettings(store);
}

void JobKeeper::fillRecentMenu(QMenu *menu)
{
    menu->clear();
    const QStringList recent = calculator::userSettings().value(recentKey).toStringList();
    for (int i = 0; i < recent.size(); ++i) {
        QString text = QDir::toNativeSeparators(recent[i]);
        text.replace('&', QStringLiteral("&&"));
        QAction *action =
            menu->addAction(i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(text) : text);
        connect(action, &QAction::triggered, this, [this, path = recent[i]] {
            if (askToSave())
                openFile(path);
        });
    }
    if (recent.isEmpty()) {
        menu->addAction(QStringLiteral("(none)"))->setEnabled(false);
        return;
    }
    menu->addSeparator();
    QAction *clear = menu->addAction(QStringLiteral("Clear List"));
    clear->setObjectName(QStringLiteral("mnuclearrecent"));
    connect(clear, &QAction::triggered, this, [] {
        QSettings store = calculator::userSettings();
        store.remove(recentKey);
        calculator::keepSettings(store);
    });
}

void JobKeeper::writeRecovery()
{
    m_recoveryTimer.stop();
    if (m_recoveryPath.isEmpty())
        return;
    const job::Job job = current();
    // With nothing to keep the lock goes too, so a crash now leaves nothing behind.
    if (job.windows.empty()) {
        removeRecovery();
        return;
    }
    QString error = claimRecovery();
    // A failed write keeps the last good recovery file; the next change tries again.
    if (error.isEmpty())
        error = writeAtomically(m_recoveryPath, job::writeJob(job), job::FileAccess::Private);
    recoveryWritten(error);
}

QString JobKeeper::claimRecovery()
{
    if (m_recoveryLock && m_recoveryLock->held())
        return QString();
    if (const std::optional<job::FileWriteError> error =
            job::makePrivateDirectories(QFile::encodeName(m_recoveryDirectory).toStdString()))
        return QString::fromLocal8Bit(wording(*error));
    m_recoveryLock = std::make_unique<job::FileLock>(
        QFile::encodeName(lockPathOf(m_recoveryPath)).toStdString());
    const std::optional<job::FileWriteError> &error = m_recoveryLock->error();
    return error ? QString::fromLocal8Bit(wording(*error)) : QString();
}

void JobKeeper::recoveryWritten(const QString &error)
{
    if (error.isEmpty() == !m_recoveryFailing)
        return;
    m_recoveryFailing = !error.isEmpty();
    if (m_questions.notice) {
        m_questions.notice(
            error.isEmpty()
                ? QString()
                : QStringLiteral("The recovery file could not be written to %1: %2. The windows "
                                 "keep everything; save the job to keep it safe.")
                      .arg(quoted(m_recoveryPath), error));
    }
}

void JobKeeper::removeRecovery()
{
    m_recoveryTimer.stop();
    if (m_recoveryPath.isEmpty())
        return;
    QFile::remove(m_recoveryPath);
    if (m_recoveryLock && m_recoveryLock->held())
        QFile::remove(lockPathOf(m_recoveryPath));
    m_recoveryLock.reset();
}

// A leftover's lock is taken before it is looked at: one still held is a running calculator's,
// and of two calculators started at once only one offers it.
void JobKeeper::offerRecovery()
{
    if (m_recoveryDirectory.isEmpty())
        return;
    const QFileInfoList files = QDir(m_recoveryDirectory)
                                    .entryInfoList({recoveryPrefix + QStringLiteral("*") + suffix},
                                                   QDir::Files, QDir::Time);
    for (const QFileInfo &file : files) {
        const QString path = file.absoluteFilePath();
        if (path == QFileInfo(m_recoveryPath).absoluteFilePath())
            continue;
        const QString lockPath = lockPathOf(path);
        const job::FileLock lock(QFile::encodeName(lockPath).toStdString());
        if (!lock.held())
            continue;
        const bool there = QFileInfo::exists(path);
        if (there)
            offerLeftover(path);
        QFile::remove(lockPath);
        if (there)
            return;
    }
}

// A recovery file that cannot be read is left where it is for the user to look at, and said so.
// One restored goes only once this calculator's own file holds its windows.
void JobKeeper::offerLeftover(const QString &path)
{
    const job::JobRead read = readJobPages(QFile::encodeName(path).toStdString());
    if (read.error) {
        const QString kept = path + QStringLiteral(".unreadable");
        QFile::remove(kept);
        QFile::rename(path, kept);
        m_questions.failed(QStringLiteral("The windows kept when the calculator last ended "
                                          "cannot be restored.\n\n%1\n\nThe file is kept as %2.")
                               .arg(QString::fromStdString(wording(*read.error)), kept));
        return;
    }
    if (!read.job.windows.empty() && m_questions.restore()) {
        show(read.job);
        m_modified = true;
        emit nameChanged();
        writeRecovery();
        if (m_recoveryFailing)
            return;
    }
    QFile::remove(path);
}

} // namespace zorvik
