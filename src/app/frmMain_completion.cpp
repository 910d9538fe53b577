// frmMain: completion while typing, and the command that connects it to the development database.

#include "app/LaunchParams.h"
#include "app/frmMain.h"
#include "completion/frmUserLogin.h"

void frmMain::connectCompletion()
{
    m_completion = std::make_unique<CompletionTriggers>(
        wrapper(), SchemaCompletionOn, completionLists, [this](const QString &table) {
            const std::unique_ptr<ISchemaSource> source = schemaSource();
            return LookupFields(source.get(), table);
        });
    connect(sciMain.get(), &usrScintilla::UserListSelection, this, &frmMain::OnListSelection);
}

void frmMain::OnCharAdded(int ch)
{
    bTextChanged = true;
    m_completion->OnCharAdded(ch);
}

void frmMain::OnListSelection() { m_completion->OnListSelection(); }

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
        frmUserLogin login(m_settings, m_prompt, SchemaCompletionOn, m_devConnection, this);
        m_prompt.runModal(login);
        if (!SchemaCompletionOn)
            return;
    }
    const std::unique_ptr<ISchemaSource> source = schemaSource();
    completionLists.AllTablesList = LookupAllTables(source.get());
}
