// frmMain: completion while typing, and the command that connects it to the development database.

#include "app/LaunchParams.h"
#include "app/frmMain.h"
#include "completion/SchemaLookupRunner.h"
#include "completion/frmUserLogin.h"

#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>

namespace {

// Escape typed in the editor also cancels a lookup on its way; the editor still gets the key.
class EscapeWatcher : public QObject {
public:
    EscapeWatcher(std::function<void()> onEscape, QObject *parent) : QObject(parent), m_onEscape(std::move(onEscape)) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
            m_onEscape();
        return false;
    }

private:
    std::function<void()> m_onEscape;
};

// A schema query over a copy of the login's connection, opened on the thread that runs it.
class ConnectionCopySource : public ISchemaSource {
public:
    explicit ConnectionCopySource(QString connectionName) : m_name(std::move(connectionName)) {}
    std::optional<ResultTable> run(const QString &sql) override { return DevConnection::runOnCopy(m_name, sql); }

private:
    QString m_name;
};

} // namespace

void frmMain::connectCompletion()
{
    m_fieldLookups = std::make_unique<SchemaLookupRunner>();
    m_completion = std::make_unique<CompletionTriggers>(wrapper(), SchemaCompletionOn, completionLists,
                                                        [this](const QString &table) { startFieldLookup(table); });
    connect(sciMain.get(), &usrScintilla::UserListSelection, this, &frmMain::OnListSelection);

    // A small mark in the status bar while a lookup is on its way.
    auto *busy = new QLabel(QStringLiteral("正在查询…"), this);
    busy->setObjectName(QStringLiteral("lblLookupBusy"));
    busy->hide();
    statusBar()->addPermanentWidget(busy);
    connect(m_fieldLookups.get(), &SchemaLookupRunner::busyChanged, busy, &QLabel::setVisible);

    wrapper().widget()->installEventFilter(new EscapeWatcher([this] { cancelFieldLookup(); }, this));
}

void frmMain::OnCharAdded(int ch)
{
    bTextChanged = true;
    m_completion->OnCharAdded(ch);
}

void frmMain::OnListSelection() { m_completion->OnListSelection(); }

bool frmMain::fieldLookupBusy() const { return m_fieldLookups && m_fieldLookups->isBusy(); }

void frmMain::cancelFieldLookup()
{
    if (!fieldLookupBusy())
        return;
    m_fieldLookups->cancel();
    m_completion->FieldLookupCancelled();
}

void frmMain::startFieldLookup(const QString &table)
{
    // Everything the worker needs is copied here; it touches nothing of the window.
    SchemaLookupRunner::Work work;
    if (ServerMode()) {
        work = [session = servletSessionFrom(launchParams()), timeout = servletTimeout,
                table](const std::atomic<bool> &cancelled) {
            ServletClient client(session, timeout);
            client.setCancelFlag(&cancelled);
            ServletSchemaSource source(client);
            return LookupFields(&source, table);
        };
    } else if (m_devConnection && m_devConnection->isOpen()) {
        work = [name = m_devConnection->connectionName(), table](const std::atomic<bool> &) {
            ConnectionCopySource source(name);
            return LookupFields(&source, table);
        };
    } else {
        m_fieldLookups->cancel();
        m_completion->FieldListArrived(QString());
        return;
    }
    m_fieldLookups->start(std::move(work), [this](const QString &list) { m_completion->FieldListArrived(list); });
}

std::unique_ptr<ISchemaSource> frmMain::schemaSource()
{
    if (ServerMode())
        return std::make_unique<ServletSchemaSource>(ServletClient(servletSessionFrom(launchParams()), servletTimeout));
    // The connection stays the window's; this only lends it.
    struct Borrowed : ISchemaSource {
        DevConnection *connection;
        explicit Borrowed(DevConnection *c) : connection(c) {}
        std::optional<ResultTable> run(const QString &sql) override { return connection->run(sql); }
    };
    if (!m_devConnection)
        return nullptr;
    return std::make_unique<Borrowed>(m_devConnection.get());
}

void frmMain::connectDevDatabase()
{
    if (ServerMode()) {
        SchemaCompletionOn = !SchemaCompletionOn;
    } else {
        // A new login replaces the connection that a lookup on its way may still be copying.
        cancelFieldLookup();
        frmUserLogin login(m_settings, m_prompt, SchemaCompletionOn, m_devConnection, this);
        m_prompt.runModal(login);
        if (!SchemaCompletionOn)
            return;
    }
    const std::unique_ptr<ISchemaSource> source = schemaSource();
    completionLists.AllTablesList = LookupAllTables(source.get());
}
