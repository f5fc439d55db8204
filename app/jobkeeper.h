// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculator/windowhost.h"

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class QMdiSubWindow;
class QMenu;
class QWidget;

namespace zorvik {

namespace job {
class FileLock;
}

// The job the main window's calculator windows make up: its file (Save, Save As…, Open…, Open
// Recent), whether it has changed since, the recovery file that a moment after each change keeps
// the windows safe from a crash, and the windows closed lately, which Reopen Closed Window brings
// back. Every write goes through a temporary file renamed over the old one once the disk holds
// all of it.
class JobKeeper : public QObject {
    Q_OBJECT
public:
    // What the keeper asks the user; a test replaces them.
    struct Questions {
        // A job file to open (save false) or to save to; "" when the user cancels.
        std::function<QString(bool save, const QString &suggested)> file;
        // Save, Discard or Cancel for the unsaved changes.
        std::function<QMessageBox::StandardButton()> unsaved;
        // Restore (Yes) or Discard (No) the windows a recovery file kept.
        std::function<bool()> restore;
        // Tells the user why an open or a save failed.
        std::function<void(const QString &message)> failed;
        // Tells the user, without stopping them, that the recovery file cannot be written; ""
        // once it can again.
        std::function<void(const QString &message)> notice;
    };

    // Without an opener no job can be opened; without a recovery directory none is kept.
    JobKeeper(QWidget *window, calculator::WindowHost &host);
    ~JobKeeper() override;

    void setOpener(calculator::JobWindowOpener opener) { m_opener = std::move(opener); }
    // Where the recovery files go, "" for none. Each running calculator has one of its own there,
    // named by its process and start, and holds a lock beside it for as long as it runs.
    void setRecoveryDirectory(const QString &directory);
    // This calculator's recovery file.
    const QString &recoveryPath() const { return m_recoveryPath; }
    void setQuestions(Questions questions) { m_questions = std::move(questions); }

    // The job file's name with a mark while it has unsaved changes ("bracket.zorvik*"), "" while
    // no job file is open.
    QString jobName() const;
    const QString &path() const { return m_path; }
    bool modified() const { return m_modified; }

    // The File menu's commands; each returns whether it did what it was asked.
    bool open();
    bool openFile(const QString &path);
    bool save();
    bool saveAs();
    bool saveTo(const QString &path);
    // Before the windows go: asks to save unsaved changes; false when the user cancels.
    bool askToSave();
    // Fills the Open Recent menu with the files opened or saved last, newest first.
    void fillRecentMenu(QMenu *menu);

    // The work area's windows changed (one opened or was activated): watches new ones.
    void watchWindows();
    // A calculator window is about to close: kept for Reopen Closed Window.
    void windowClosing(QMdiSubWindow *sub);
    // Brings back the window closed last whose operation has no window open.
    void reopenClosed();

    // At start: offers to restore the windows kept by the newest recovery file whose calculator
    // is gone, then removes it; older ones are offered at the starts that follow.
    void offerRecovery();
    // Writes the recovery file now, when windows hold anything.
    void writeRecovery();
    // A clean exit: nothing is left to recover.
    void removeRecovery();

signals:
    // The job's name or its unsaved-changes mark changed.
    void nameChanged();

private:
    std::vector<calculator::JobWindow *> jobWindows() const;
    job::Job current() const;
    // Opens the record's window and shows the record in it; nullptr when it cannot.
    calculator::JobWindow *opened(const job::WindowRecord &record);
    // Replaces the calculator windows by the job's.
    void show(const job::Job &job);
    void changed();
    void setSaved(const QString &path);
    void remember(const QString &path);
    // Creates the recovery directory and takes the lock of this calculator's recovery file;
    // "" or why it could not.
    QString claimRecovery();
    // Tells the first failure of a run of them, and the end of the run.
    void recoveryWritten(const QString &error);
    // Restores or discards a leftover recovery file, whose lock the caller holds.
    void offerLeftover(const QString &path);

    QWidget *m_window;
    calculator::WindowHost &m_host;
    calculator::JobWindowOpener m_opener;
    QString m_recoveryDirectory;
    QString m_recoveryPath;
    std::unique_ptr<job::FileLock> m_recoveryLock;
    bool m_recoveryFailing = false;
    Questions m_questions;
    QString m_path;
    bool m_modified = false;
    // Set while the keeper itself opens, restores or closes windows.
    bool m_replacing = false;
    QSet<const QObject *> m_watched;
    QTimer m_recoveryTimer;
    std::vector<job::WindowRecord> m_closed; // the last closed last
};

} // namespace zorvik
