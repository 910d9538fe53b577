#include "app/frmMain.h"
#include "app/DefineCheckRunner.h"
#include "app/DocumentRecovery.h"

#include "document/DefineEscaping.h"
#include "app/FormEditorSettings.h"
#include "app/LaunchParams.h"
#include "app/WindowPlacement.h"
#include "platform/Twips.h"
#include "platform/WindowSystem.h"

#include <Qsci/qsciscintillabase.h>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

using Sci = QsciScintillaBase;
using platform::WindowSystem;

// The icons live in the core library; a static library's resources must be registered by hand.
static void initResources() { Q_INIT_RESOURCE(icons); }

namespace {
const QString kApp = QStringLiteral("Plendor");
const QString kSection = QStringLiteral("Settings");
const QString kLayoutSection = QStringLiteral("frmMain");
const QString kLayoutKey = QStringLiteral("Layout");
} // namespace

frmMain::frmMain(ISettingsStore &settings, platform::IPrompt &prompt, QString commandLine, QWidget *parent)
    : QMainWindow(parent), m_settings(settings), m_prompt(prompt), m_commandLine(std::move(commandLine))
{
    initResources();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("字符转义"));
    endProgram = [] { QCoreApplication::exit(0); };
    m_hwnd = WindowSystem::instance().createWindow(&platform::defWindowProc, this, this);

    m_clientArea = new QWidget(this);
    m_clientArea->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(m_clientArea);
    m_clientArea->installEventFilter(this);

    sciMain = std::make_unique<usrScintilla>(m_hwnd);
    sciMain->setObjectName(QStringLiteral("sciMain"));
    Timer1.setSingleShot(true);
    Timer1.setInterval(100);
    connect(&Timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);

    Form_Load();
}

frmMain::~frmMain()
{
    // A check beside the window reads the editor's text, which goes with the editor.
    if (m_checkRunner)
        m_checkRunner->stop();
    // A window that goes away is a clean end: its recovery file goes with it.
    delete m_recovery;
    m_recovery = nullptr;
    if (sciMain)
        sciMain->CloseScintilla();
    WindowSystem::instance().destroyWindow(m_hwnd);
}

void frmMain::Form_Load()
{
    ParseCommandLine(m_commandLine);
    BuildCommandBars();
    setUpChecking();
    setUpOutline();
    setUpRecovery();
    setUpRecentFiles();
    connect(sciMain.get(), &usrScintilla::CharAdded, this, &frmMain::sciMain_CharAdded);
    connect(sciMain.get(), &usrScintilla::OpenFileUrl, this, &frmMain::sciMain_OpenFileUrl);
    connectCompletion();

    restoreWindowPosition();
    configureEditor();
    restoreLayout();
    bindShortcuts();
    sciMain->setContextMenu(true);
    strBaseCaption = windowTitle();

    if (ServerMode()) {
        startServerDocument();
    } else {
        setAcceptDrops(true);
        sciMain->setAutoIndent(true);
        Timer1.start();
    }
    placeEditor();
}

void frmMain::startServerDocument()
{
    const LaunchParams &launch = launchParams();
    sciMain->setAutoIndent(true);
    if (m_obj->wrapper().LoadDocument(launch.OpenFileName) == clsScintilla::LoadResult::Declined) {
        // The platform started the editor for this one file: without it there is nothing to do.
        QTimer::singleShot(0, this, [this] { endProgram(); });
        return;
    }
    m_obj->editor().SetFocusEx();
    m_obj->editor().ClearUndoBuffer();
    UnescapingReader readable(m_obj->wrapper().TextBytesView());
    wrapper().LoadTextPieces(readable.readableSize(), [&readable] { return readable.next(); });
    wrapper().SetFocus();
    sciMain->ClearUndoBuffer();
    setWindowTitle(strBaseCaption + QLatin1Char('[') + launch.UpLoadFileName + QLatin1Char(']'));
    sciMain->setAutoIndent(true);
    bTextChanged = false;
    // The define is found by the check's reading of the defines, as the outline lists them.
    m_pendingDefine = launch.DefineName;
    checkDocumentNow();
    m_recovery->clean();
    // Once the window is up: the unsaved text of this define file that an earlier editor left.
    QTimer::singleShot(0, this, [this] { offerRecoveries(); });
}

void frmMain::restoreWindowPosition()
{
    using namespace platform;
    const double left = m_settings.readNumber(kApp, kSection, QStringLiteral("MainLeft"), 1000);
    const double top = m_settings.readNumber(kApp, kSection, QStringLiteral("MainTop"), 1000);
    const double width = m_settings.readNumber(kApp, kSection, QStringLiteral("MainWidth"), 6500);
    const double height = m_settings.readNumber(kApp, kSection, QStringLiteral("MainHeight"), 6500);
    // A corrupt or absurd stored place must not put the window out of reach.
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    const QRect place = placeOnScreens(left / twipsPerPixelX(), top / twipsPerPixelY(), width / twipsPerPixelX(),
                                       height / twipsPerPixelY(), screens);
    move(place.topLeft());
    resize(place.size());
    for (const QString &notice : m_settings.takeNotices())
        m_prompt.inform(appTitle(), notice, Icon::Warning);
}

void frmMain::storeWindowPosition()
{
    if (isMinimized())
        return;
    using namespace platform;
    m_settings.writeNumber(kApp, kSection, QStringLiteral("MainLeft"), pixelsToTwipsX(x()));
    m_settings.writeNumber(kApp, kSection, QStringLiteral("MainTop"), pixelsToTwipsY(y()));
    m_settings.writeNumber(kApp, kSection, QStringLiteral("MainWidth"), pixelsToTwipsX(width()));
    m_settings.writeNumber(kApp, kSection, QStringLiteral("MainHeight"), pixelsToTwipsY(height()));
}

void frmMain::restoreLayout()
{
    const QString stored = m_settings.read(kApp, kLayoutSection, kLayoutKey, QString());
    if (!stored.isEmpty())
        restoreState(QByteArray::fromBase64(stored.toLatin1()));
}

void frmMain::storeLayout()
{
    m_settings.write(kApp, kLayoutSection, kLayoutKey,
                     QString::fromLatin1(saveState().toBase64()));
}

void frmMain::configureEditor()
{
    clsScintilla &s = wrapper();
    applyFormEditorSettings(s);
    s.SendEditor(Sci::SCI_AUTOCSETSEPARATOR, '|');
    s.SendEditor(Sci::SCI_AUTOCSETIGNORECASE, 1);
    s.SendEditor(Sci::SCI_AUTOCSETAUTOHIDE, 0);
    s.SendEditor(Sci::SCI_AUTOCSETDROPRESTOFWORD, 1);
    s.SendEditor(Sci::SCI_AUTOCSETCANCELATSTART, 0);
    s.SendEditor(Sci::SCI_SETCARETWIDTH, 2);
    s.SendEditor(Sci::SCI_AUTOCSETMAXHEIGHT, 7);
}

void frmMain::placeEditor()
{
    if (!sciMain || !m_clientArea)
        return;
    const QRect free = m_clientArea->geometry();
    sciMain->MoveIt(free.left(), free.top(), static_cast<int>(platform::pixelsToTwipsX(free.width())),
                    static_cast<int>(platform::pixelsToTwipsY(free.height())));
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_clientArea && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        placeEditor();
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::sciMain_CharAdded(int ch) { OnCharAdded(ch); }

void frmMain::Timer1_Timer()
{
    Timer1.stop();
    // A recovered document takes the window's one place before the file named at start.
    if (offerRecoveries() || m_commandLine.isEmpty())
        return;
    openFromCommandLine(localPathFromCommandLine(m_commandLine));
}

void frmMain::closeEvent(QCloseEvent *event)
{
    storeWindowPosition();
    storeLayout();
    if (bTextChanged) {
        const auto answer = m_prompt.ask(platform::appTitle(), QStringLiteral("文件已修改,是否保存?"),
                                         platform::Buttons::YesNoCancel, platform::Icon::Question,
                                         platform::Answer::Yes);
        if (answer == platform::Answer::Cancel) {
            event->ignore();
            return;
        }
        if (answer == platform::Answer::Yes) {
            const bool saved = ServerMode() ? SaveDefineToServer() : SaveLocal() == 1;
            if (!saved) {
                event->ignore();
                return;
            }
        }
    }
    event->accept();
    // Saved, or given up with No: nothing is left to recover.
    m_recovery->clean();
    m_obj->endProgram = endProgram;
    m_obj->close();
}
