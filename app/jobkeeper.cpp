// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/jobkeeper.h"

#include "calculator/scrollframe.h"
#include "calculator/usersettings.h"
#include "job/jobformat.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QSaveFile>
#include <QScopedValueRollback>
#include <QSettings>

#include <algorithm>
#include <iterator>

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
    const job::JobRead read = job::readJobFile(QFile::encodeName(path).toStdString());
    if (!read.error.empty()) {
        m_questions.failed(QStringLiteral("The job could not be opened.\n\n%1")
                               .arg(QString::fromStdString(read.error)));
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
            QStringLiteral("The job could not be saved to %1: %2\n\nThe file there, if any, is "
                           "as it was; the windows keep everything.")
                .arg(QDir::toNativeSeparators(path), error));
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

QString JobKeeper::writeAtomically(const QString &path, const std::string &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
        static_cast<qint64>(bytes.size()))
        return file.errorString();
    if (!file.commit())
        return file.errorString();
    return QString();
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
    connect(clear, &QAction::triggered, this, [] { calculator::userSettings().remove(recentKey); });
}

void JobKeeper::writeRecovery()
{
    m_recoveryTimer.stop();
    if (m_recoveryPath.isEmpty())
        return;
    const job::Job job = current();
    if (job.windows.empty()) {
        QFile::remove(m_recoveryPath);
        return;
    }
    QDir().mkpath(QFileInfo(m_recoveryPath).absolutePath());
    // A failed write keeps the last good recovery file; the next change tries again.
    writeAtomically(m_recoveryPath, job::writeJob(job));
}

void JobKeeper::removeRecovery()
{
    m_recoveryTimer.stop();
    if (!m_recoveryPath.isEmpty())
        QFile::remove(m_recoveryPath);
}

// A recovery file that cannot be read is left where it is for the user to look at, and said so.
void JobKeeper::offerRecovery()
{
    if (m_recoveryPath.isEmpty() || !QFileInfo::exists(m_recoveryPath))
        return;
    const job::JobRead read = job::readJobFile(QFile::encodeName(m_recoveryPath).toStdString());
    if (!read.error.empty()) {
        const QString kept = m_recoveryPath + QStringLiteral(".unreadable");
        QFile::remove(kept);
        QFile::rename(m_recoveryPath, kept);
        m_questions.failed(QStringLiteral("The windows kept when the calculator last ended "
                                          "cannot be restored.\n\n%1\n\nThe file is kept as %2.")
                               .arg(QString::fromStdString(read.error), kept));
        return;
    }
    if (!read.job.windows.empty() && m_questions.restore()) {
        show(read.job);
        m_modified = true;
        emit nameChanged();
    }
    writeRecovery();
}

} // namespace zorvik
