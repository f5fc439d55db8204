#pragma once

#include "app/displayhooks.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QWindow;

namespace zorvik {

class NewProjectDialog;

// The main window: a multiple-document frame that holds the New Project dialog and the
// calculator windows, with the menu bar and the display load and unload steps.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(std::unique_ptr<DisplayHooks> displayHooks = nullptr,
                        QWidget *parent = nullptr);
    ~MainWindow() override;

    // The live main window, or nullptr.
    static MainWindow *instance();

    QMdiArea *workspace() const { return m_workspace; }
    NewProjectDialog *newProjectDialog() const;

    // Loads the New Project dialog when it is not loaded, which starts its slide-in.
    void loadNewProject();
    // Loads the dialog if needed and brings it to the front.
    void showNewProject();

    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createMenus();
    QMdiSubWindow *loadedNewProject() const;
    void rebuildWindowList();
    void focusWindowChanged(QWindow *focus);
    QLineEdit *focusedField() const;
    void cut();
    void copy();
    void paste();
    void about();

    std::unique_ptr<DisplayHooks> m_displayHooks;
    QMdiArea *m_workspace = nullptr;
    QMenu *m_windowMenu = nullptr;
    QList<QAction *> m_windowList;
    QList<QAction *> m_editActions;
    QPointer<QMdiSubWindow> m_newProject;
    bool m_loaded = false;
    bool m_unloaded = false;
    bool m_activatedBefore = false;
    bool m_focusWasInOwnWindow = false;
};

} // namespace zorvik
