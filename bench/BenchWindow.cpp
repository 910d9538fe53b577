#include "BenchWindow.h"

#include "app/DefineCheckRunner.h"
#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QEventLoop>

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

void BenchWindow::checkAndWait()
{
    QEventLoop loop;
    const auto done = QObject::connect(window->checkRunner(), &DefineCheckRunner::checked, &loop, &QEventLoop::quit);
    window->checkRunner()->checkNow();
    loop.exec();
    QObject::disconnect(done);
}

void settle()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
