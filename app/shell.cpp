#include "app/shell.h"

#include "app/mainwindow.h"

#include <array>

namespace zorvik::shell {

namespace {

constexpr std::size_t operationCount = static_cast<std::size_t>(Operation::Shaping) + 1;

std::array<std::function<void()>, operationCount> &registry()
{
    static std::array<std::function<void()>, operationCount> openers;
    return openers;
}

} // namespace

QMdiArea *workspace()
{
    MainWindow *main = MainWindow::instance();
    return main ? main->workspace() : nullptr;
}

void showNewProject()
{
    if (MainWindow *main = MainWindow::instance())
        main->showNewProject();
}

void registerOperation(Operation operation, std::function<void()> open)
{
    registry()[static_cast<std::size_t>(operation)] = std::move(open);
}

bool openOperation(Operation operation)
{
    // A copy: opening a window may register again.
    const std::function<void()> open = registry()[static_cast<std::size_t>(operation)];
    if (!open)
        return false;
    open();
    return true;
}

} // namespace zorvik::shell
