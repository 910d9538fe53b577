#include "hooks/GSubclass.h"
#include "hooks/HookError.h"

#include <gtest/gtest.h>
#include <vector>

using namespace platform;

namespace {

std::vector<std::string> g_log;

LResult oldProc(Hwnd, std::uint32_t msg, WParam, LParam)
{
    g_log.push_back("old:" + std::to_string(msg));
    return 1000 + msg;
}

class Client : public ISubclass {
public:
    Client(std::string name, std::int32_t response) : m_name(std::move(name)), m_response(response) {}
    std::int32_t ISubclass_MsgResponse() const override { return m_response; }
    void setISubclass_MsgResponse(std::int32_t r) override { m_response = r; }
    LResult ISubclass_WindowProc(Hwnd, std::uint32_t msg, WParam, LParam) override
    {
        g_log.push_back(m_name + ":" + std::to_string(msg) + "/" + std::to_string(MSubclass::CurrentMessage()));
        return m_result;
    }
    LResult m_result = 7;

private:
    std::string m_name;
    std::int32_t m_response;
};

class Hook : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_log.clear();
        w = ws.createWindow(&oldProc);
    }
    void TearDown() override
    {
        ws.setPropStoreFilter({});
        ws.destroyWindow(w);
    }
    std::string prop(const std::string &suffix) const { return std::to_string(w) + suffix; }
    int expectError(const std::function<void()> &f)
    {
        try {
            f();
        } catch (const HookError &e) {
            return e.number();
        }
        return 0;
    }

    WindowSystem &ws = WindowSystem::instance();
    GSubclass hook;
    Hwnd w = 0;
};

TEST_F(Hook, PropertiesNameTheRegistrations)
{
    Client a("a", ResponseConsume), b("b", ResponseConsume);
    hook.AttachMessage(&a, w, 78);
    hook.AttachMessage(&b, w, 78);
    const auto props = ws.props(w);
    EXPECT_EQ(props.at(prop("")), reinterpret_cast<LParam>(&oldProc));
    EXPECT_EQ(props.at(prop("C")), 2);
    EXPECT_EQ(props.at(prop("#78C")), 2);
    EXPECT_EQ(props.at(prop("#78#1")), reinterpret_cast<LParam>(static_cast<ISubclass *>(&a)));
    EXPECT_EQ(props.at(prop("#78#2")), reinterpret_cast<LParam>(static_cast<ISubclass *>(&b)));
    hook.DetachMessage(&a, w, 78);
    hook.DetachMessage(&b, w, 78);
    EXPECT_TRUE(ws.props(w).empty());
    EXPECT_EQ(ws.windowProc(w), &oldProc);
}

TEST_F(Hook, AttachingTwiceForOneMessageIsRefusedButASecondMessageHooksOnce)
{
    Client a("a", ResponseConsume);
    hook.AttachMessage(&a, w, 78);
    const auto before = ws.props(w);
    EXPECT_EQ(expectError([&] { hook.AttachMessage(&a, w, 78); }), kErrAlreadyHandled);
    EXPECT_EQ(ws.props(w), before);

    hook.AttachMessage(&a, w, 15);
    EXPECT_EQ(ws.getProp(w, prop("C")), 2);
    EXPECT_EQ(ws.getProp(w, prop("")), reinterpret_cast<LParam>(&oldProc));

    hook.DetachMessage(&a, w, 78);
    EXPECT_NE(ws.windowProc(w), &oldProc) << "still hooked for message 15";
    hook.DetachMessage(&a, w, 15);
    EXPECT_EQ(ws.windowProc(w), &oldProc);
}

TEST_F(Hook, ErrorsCarryTheirNumbersAndSource)
{
    Client a("a", ResponseConsume);
    try {
        hook.AttachMessage(&a, 999999, 78);
        FAIL();
    } catch (const HookError &e) {
        EXPECT_EQ(e.number(), kErrInvalidWindow);
        EXPECT_EQ(e.errorCode(), kApplicationErrorBase + 13083);
        EXPECT_TRUE(e.source().endsWith(QStringLiteral(".WindowProc")));
        EXPECT_EQ(e.description(), QStringLiteral("Invalid window"));
    }
    const Hwnd foreign = ws.createForeignWindow();
    EXPECT_EQ(expectError([&] { hook.AttachMessage(&a, foreign, 78); }), kErrExternalWindow);
    ws.destroyWindow(foreign);
}

TEST_F(Hook, ResponsesDecideWhenTheOldProcedureRuns)
{
    struct Row { std::int32_t response; std::vector<std::string> log; LResult result; };
    const Row rows[] = {
        {ResponseConsume, {"c:78/78"}, 7},
        {ResponsePostProcess, {"c:78/78", "old:78"}, 1078},
        {ResponsePreProcess, {"old:78", "c:78/78"}, 7},
    };
    for (const Row &row : rows) {
        g_log.clear();
        Client c("c", row.response);
        hook.AttachMessage(&c, w, 78);
        EXPECT_EQ(ws.sendMessage(w, 78, 0, 0), row.result) << row.response;
        EXPECT_EQ(g_log, row.log) << row.response;
        hook.DetachMessage(&c, w, 78);
    }
}

TEST_F(Hook, MostRecentClientFirstAndOtherMessagesPassThrough)
{
    Client a("a", ResponseConsume), b("b", ResponseConsume);
    a.m_result = 1;
    b.m_result = 2;
    hook.AttachMessage(&a, w, 78);
    hook.AttachMessage(&b, w, 78);
    EXPECT_EQ(ws.sendMessage(w, 78, 0, 0), 1) << "the first-registered client answers last";
    EXPECT_EQ(g_log, (std::vector<std::string>{"b:78/78", "a:78/78"}));
    g_log.clear();
    EXPECT_EQ(ws.sendMessage(w, 5, 0, 0), 1005);
    EXPECT_EQ(g_log, (std::vector<std::string>{"old:5"}));
    hook.DetachMessage(&b, w, 78);
    hook.DetachMessage(&a, w, 78);
}

TEST_F(Hook, DestroyUnhooksBeforeTheOldProcedureSeesIt)
{
    Client a("a", ResponseConsume);
    hook.AttachMessage(&a, w, 78);
    ws.sendMessage(w, WM_DESTROY, 0, 0);
    EXPECT_EQ(ws.windowProc(w), &oldProc);
    EXPECT_EQ(ws.getProp(w, prop("")), 0);
    EXPECT_EQ(ws.getProp(w, prop("C")), 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{"old:2"}));
}

TEST_F(Hook, DetachAndCallOldAreQuietOnWindowsNeverHooked)
{
    Client a("a", ResponseConsume);
    hook.DetachMessage(&a, w, 78);
    hook.DetachMessage(&a, 424242, 78);
    EXPECT_EQ(hook.CallOldWindowProc(w, 78, 0, 0), 0);
    EXPECT_TRUE(g_log.empty());
    hook.AttachMessage(&a, w, 78);
    EXPECT_EQ(hook.CallOldWindowProc(w, 9, 0, 0), 1009);
    hook.DetachMessage(&a, w, 78);
}

TEST_F(Hook, FailedPropertyStoresLeaveEverythingAsItWas)
{
    Client first("first", ResponseConsume), second("second", ResponseConsume);
    hook.AttachMessage(&first, w, 78);
    const auto hookedProc = ws.windowProc(w);
    for (const std::string failing : {"#78C", "#78#2", "C"}) {
        const auto before = ws.props(w);
        ws.setPropStoreFilter([&](Hwnd, const std::string &name) { return name != prop(failing); });
        EXPECT_EQ(expectError([&] { hook.AttachMessage(&second, w, 78); }), kErrInvalidArgument) << failing;
        ws.setPropStoreFilter({});
        EXPECT_EQ(ws.props(w), before) << failing;
        EXPECT_EQ(ws.windowProc(w), hookedProc);
    }
    hook.DetachMessage(&first, w, 78);

    // On an unhooked window a failure puts the old procedure back.
    for (const std::string failing : {"", "C"}) {
        ws.setPropStoreFilter([&](Hwnd, const std::string &name) { return name != prop(failing); });
        EXPECT_EQ(expectError([&] { hook.AttachMessage(&second, w, 78); }), kErrInvalidArgument) << failing;
        ws.setPropStoreFilter({});
        EXPECT_TRUE(ws.props(w).empty()) << failing;
        EXPECT_EQ(ws.windowProc(w), &oldProc);
    }
}
} // namespace
