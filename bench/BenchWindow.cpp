#include "BenchWindow.h"

#include "app/DefineCheckRunner.h"
#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTest>

BenchWindow::BenchWindow()
{
    platform::setProgramFolder(dir.filePath(QStringLiteral("program")));
    // The document's recovery copy goes to a private folder, not the user's.
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toUtf8());
    window = std::make_unique<frmMain>(settings, prompt, QString());
    window->resize(1000, 700);
    window->show();
    settle();
}

namespace {
// Runs start, then waits until the check has shown its results.
template <typename Start>
void waitForCheck(DefineCheckRunner &runner, const Start &start)
{
    QEventLoop loop;
    const auto done = QObject::connect(&runner, &DefineCheckRunner::checked, &loop, &QEventLoop::quit);
    start();
    loop.exec();
    QObject::disconnect(done);
}
} // namespace

void BenchWindow::loadAndCheck(const QByteArray &utf8)
{
    DefineCheckRunner &runner = *window->checkRunner();
    runner.pause = std::chrono::milliseconds(0);
    window->wrapper().LoadTextBytes(utf8);
    waitForCheck(runner, [&] { runner.checkNow(); });
}

void BenchWindow::caretAtLineEnd(int line)
{
    clsScintilla &s = window->wrapper();
    const int pos = s.GetLineEndPosition(line < 0 ? s.GetLineCount() + line : line);
    s.SetSel(pos, pos);
    s.SendEditor(QsciScintillaBase::SCI_SCROLLCARET);
}

void BenchWindow::keyAndCheck(bool type)
{
    QWidget &view = *window->wrapper().widget();
    waitForCheck(*window->checkRunner(), [&] { QTest::keyClick(&view, type ? Qt::Key_Space : Qt::Key_Backspace); });
    view.repaint();
}

void settle()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
