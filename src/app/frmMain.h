#pragma once
// The main window: start-up from the command line, menus and toolbars, the document's
// open and save, the editor placement, the persisted window position and the close sequence.

#include "platform/SettingsStore.h"
#include "app/frmObj.h"
#include "completion/CompletionTriggers.h"
#include "completion/DevConnection.h"
#include "completion/SchemaLookupRunner.h"
#include "dialogs/SearchDialogService.h"
#include "editor/usrScintilla.h"
#include "highlight/usrHighlighters.h"
#include "platform/FileStamp.h"
#include "platform/Prompt.h"

#include <QMainWindow>
#include <QTimer>
#include <chrono>
#include <optional>
#include <functional>
#include <map>
#include <memory>

class QAction;
class QMimeData;
class QDockWidget;
class QToolBar;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // The store and the prompt outlive the window; tests pass their own.
    frmMain(ISettingsStore &settings, platform::IPrompt &prompt, QString commandLine, QWidget *parent = nullptr);
    ~frmMain() override;

    platform::Hwnd hWnd() const { return m_hwnd; }
    usrScintilla &editor() { return *sciMain; }
    clsScintilla &wrapper() { return *sciMain->sciMain; }
    frmObj &objWindow() { return *m_obj; }
    QDockWidget *EscapedTextBar() const { return m_escapedTextBar; }
    QAction *action(int id) const;

    bool bTextChanged = false;
    bool SchemaCompletionOn = false;
    CompletionLists completionLists;
    QString strBaseCaption;
    QString strFileName;
    QTimer Timer1;
    usrHighlighters Highlighters;

    // How long a servlet request may take.
    std::chrono::milliseconds servletTimeout{30000};
    // How long a save's conversion runs before its busy dialog shows.
    std::chrono::milliseconds busyAfter{1000};

    // Ends the program at once (Exit, and the object window's close); tests replace it.
    std::function<void()> endProgram;

    // Command dispatch and the checked states.
    void execute(int id);
    void updateCommands();

    // Document lifecycle.
    void openCommand();
    void openDropped(const QStringList &paths);
    // A drop onto the window; only local files count. True when it was taken.
    bool filesDropped(const QMimeData *mime);
    int SaveLocal();
    void SaveLocalAs();
    void escapeCommand();
    void restoreCommand();
    bool SaveDefineToServer();
    // The print dialog, then the document with one-inch margins; a save dialog, then HTML.
    void printCommand();
    void exportHtmlCommand();

    // Places the editor over the free client area (also run on every resize).
    void placeEditor();

    // Completion: the editor control's two events, the connect command and the schema source
    // (the servlet in server mode, the login's connection otherwise; none before a login).
    void OnCharAdded(int ch);
    void OnListSelection();
    void connectDevDatabase();
    std::unique_ptr<ISchemaSource> schemaSource();
    // A field lookup on its way (typing goes on meanwhile); Escape in the editor cancels it.
    bool fieldLookupBusy() const;
    void cancelFieldLookup();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void Form_Load();
    void BuildCommandBars();
    void buildMenus();
    QToolBar *buildToolbar(const QString &caption, const QString &name, const std::vector<struct Placement> &items);
    QAction *makeAction(int id);
    void bindShortcuts();
    void restoreWindowPosition();
    void storeWindowPosition();
    void restoreLayout();
    void storeLayout();
    void configureEditor();
    void startServerDocument();
    void sciMain_CharAdded(int ch);
    void sciMain_OpenFileUrl(const QString &file);
    void connectCompletion();
    void Timer1_Timer();

    // Open steps 3 to 8; the undo histories are cleared unless told otherwise.
    void openPath(const QString &path, bool clearUndo = true);
    // The file named at start (as the desktop's menu entry names it).
    void openFromCommandLine(const QString &path);
    bool askSaveBeforeOpen();
    // A file holding bytes the code page cannot read: open it anyway?
    bool askOpenUnreadableBytes(qsizetype offset);
    // A file holding NUL bytes: open it anyway?
    bool askOpenNulBytes(qsizetype offset);
    // A copy of the old text that a killed save left beside path: offered back before opening.
    void offerInterruptedSave(const QString &path);
    // Before a local save: the questions for a file that is not a define file and for a file
    // that another program changed since it was loaded or saved here; false stops the save.
    bool confirmSaveNotDefine();
    bool confirmOverwriteChanged();
    bool confirmOverwrite(const QString &path);
    bool refuseReadOnly(const QString &path);
    int writeStoredForm();
    // Escapes the main text into the object window and gives that text's bytes; a failure has
    // been shown (with the suffix) or the user declined.
    std::optional<QByteArray> storedFormBytes(const QString &failureSuffix);
    void showUploadAnswer(const struct HttpResponse &answer);
    void setTitleFromFileName(const QString &name);

    ISettingsStore &m_settings;
    platform::IPrompt &m_prompt;
    SearchDialogService m_searchDialogs{m_settings, m_prompt};
    QString m_commandLine;
    platform::Hwnd m_hwnd = 0;
    std::unique_ptr<usrScintilla> sciMain;
    QWidget *m_clientArea = nullptr;
    frmObj *m_obj = nullptr;
    QDockWidget *m_escapedTextBar = nullptr;
    std::map<int, QAction *> m_actions;
    // The file as it was loaded or last saved here, and the path it belongs to.
    platform::FileStamp m_diskStamp;
    QString m_stampPath;
    // Opened from the command line without a defineSqls element: a save asks first.
    bool m_askNotDefineBeforeSave = false;

    // The define-file check: the problems dock, the runner and the status bar (frmMain_check.cpp).
public:
    class ProblemsDock *problemsDock() const { return m_problemsDock; }
    class DefineCheckRunner *checkRunner() const { return m_checkRunner; }
    class MainStatusBar *mainStatusBar() const { return m_mainStatusBar; }
    // F8: the caret to the next problem after it.
    void goToNextProblem();
    void goToPreviousProblem();

    // The defines dock beside the problems (frmMain_outline.cpp).
    class DefinesDock *definesDock() const { return m_definesDock; }
    // The caret to a define's start tag, its line at the top of the view, the focus in the editor.
    void goToDefine(qsizetype offset);

    // The recovery file of the unsaved text (frmMain_recovery.cpp).
    class DocumentRecovery *documentRecovery() const { return m_recovery; }
    class QMenu *recentFilesMenu() const { return m_recentMenu; }

private:
    void setUpChecking();
    void checkDocumentNow();
    void goToProblem(qsizetype offset);
    class ProblemsDock *m_problemsDock = nullptr;
    class DefineCheckRunner *m_checkRunner = nullptr;
    class MainStatusBar *m_mainStatusBar = nullptr;
    // The File menu's recent files (frmMain_recent.cpp).
    void setUpRecentFiles();
    void fillRecentFilesMenu();
    void openRecentFile(const QString &path);
    void rememberRecentFile(const QString &path);
    class QMenu *m_recentMenu = nullptr;
    void setUpOutline();
    class DefinesDock *m_definesDock = nullptr;
    // A server document's define to show once the first check has read the defines.
    QString m_pendingDefine;
    void setUpRecovery();
    // Offers the recovery files that editors no longer running left; true when one was taken up.
    bool offerRecoveries();
    void takeUpRecovered(const struct RecoveryRecord &record);
    class DocumentRecovery *m_recovery = nullptr;
    std::unique_ptr<DevConnection> m_devConnection;
    std::unique_ptr<CompletionTriggers> m_completion;
    // Completion's lookups away from the user-interface thread (frmMain_completion.cpp); goes
    // first, so no answer reaches the triggers after them.
    void startFieldLookup(const QString &table);
    std::unique_ptr<SchemaLookupRunner> m_fieldLookups;
};
