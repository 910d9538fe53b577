#include "app/CommandTable.h"

#include "app/CommandIds.h"

#include <algorithm>

const std::vector<CommandInfo> &allCommands()
{
    static const std::vector<CommandInfo> commands = {
        {cmd::Cut, "剪贴(&T)", ":/icons/cut.svg"},
        {cmd::Paste, "粘贴(&P)", ":/icons/paste.svg"},
        {cmd::Copy, "复制(&C)", ":/icons/copy.svg"},
        {cmd::Save, "保存(&S)", ":/icons/save.svg"},
        {cmd::Exit, "退出(&X)", nullptr},
        {cmd::DeleteLine, "", nullptr},
        {cmd::Undo, "撤销(&C)", ":/icons/undo.svg"},
        {cmd::Redo, "恢复(&P)", ":/icons/redo.svg"},
        {cmd::WordWrap, "自动换行", ":/icons/wrap.svg"},
        {cmd::EscapedFile, "转义后文件(&S)", nullptr},
        {cmd::Open, "打开(&O)", ":/icons/open.svg"},
        {cmd::Escape, "转义", ":/icons/escape.svg"},
        {cmd::Restore, "还原", ":/icons/restore.svg"},
        {cmd::SaveAs, "另存为(&A)", nullptr},
        {cmd::Find, "查找(&F)", nullptr},
        {cmd::SelectAll, "", nullptr},
        {cmd::FindNext, "", nullptr},
        {cmd::Replace, "替换(&E)", nullptr},
        {cmd::About, "关于(&A)", nullptr},
        {cmd::ConnectDevDb, "连接到开发数据库", ":/icons/connect.svg"},
        {cmd::Goto, "", nullptr},
        {cmd::ProblemsList, "问题列表(&P)", nullptr},
        {cmd::NextProblem, "", nullptr},
        {cmd::PreviousProblem, "", nullptr},
        {cmd::Print, "打印(&P)...", nullptr},
        {cmd::ExportHtml, "导出 HTML(&H)...", nullptr},
        {cmd::RecentFiles, "最近的文件(&F)", nullptr},
        {cmd::DefinesList, "定义列表(&D)", nullptr},
        {cmd::FindDefine, "", nullptr},
    };
    return commands;
}

const CommandInfo *commandInfo(int id)
{
    const auto &all = allCommands();
    const auto it = std::find_if(all.begin(), all.end(), [id](const CommandInfo &c) { return c.id == id; });
    return it == all.end() ? nullptr : &*it;
}

std::vector<MenuSpec> menuBarLayout(bool serverMode)
{
    MenuSpec file{"文件(&R)", {}};
    if (serverMode)
        file.items = {{cmd::Save, false}, {cmd::SaveAs, true}, {cmd::Exit, true}};
    else
        file.items = {{cmd::Open, false},        {cmd::Save, false},         {cmd::SaveAs, false},
                      {cmd::RecentFiles, false}, {cmd::ConnectDevDb, true}, {cmd::Exit, true}};
    file.items.insert(file.items.end() - 1, {{cmd::Print, true}, {cmd::ExportHtml, false}});
    return {
        file,
        {"编辑(&E)", {{cmd::Cut, false}, {cmd::Copy, false}, {cmd::Paste, false}, {cmd::Find, true}, {cmd::Replace, false}}},
        {"视图(&V)", {{cmd::EscapedFile, true}, {cmd::ProblemsList, false}, {cmd::DefinesList, false}}},
        {"帮助(&V)", {{cmd::About, false}}},
    };
}

std::vector<Placement> mainToolbarLayout(bool serverMode)
{
    std::vector<Placement> items;
    if (!serverMode)
        items.push_back({cmd::Open, false});
    const std::vector<Placement> common = {{cmd::Save, false}, {cmd::Cut, true},      {cmd::Copy, false},
                                           {cmd::Paste, false}, {cmd::Undo, false},   {cmd::Redo, false},
                                           {cmd::WordWrap, true}, {cmd::ConnectDevDb, true}};
    items.insert(items.end(), common.begin(), common.end());
    return items;
}

std::vector<Placement> convertToolbarLayout() { return {{cmd::Escape, true}, {cmd::Restore, true}}; }

const std::vector<Shortcut> &mainShortcuts()
{
    static const std::vector<Shortcut> shortcuts = {
        {"Ctrl+S", cmd::Save},      {"Ctrl+X", cmd::Cut},  {"Ctrl+C", cmd::Copy},     {"Ctrl+V", cmd::Paste},
        {"Ctrl+A", cmd::SelectAll}, {"Ctrl+F", cmd::Find}, {"Ctrl+D", cmd::DeleteLine}, {"Ctrl+Z", cmd::Undo},
        {"Ctrl+Y", cmd::Redo},      {"F3", cmd::FindNext}, {"Ctrl+R", cmd::Replace},
        {"Ctrl+G", cmd::Goto},
        {"F8", cmd::NextProblem},
        {"Shift+F8", cmd::PreviousProblem},
        {"Ctrl+P", cmd::Print},
        {"Ctrl+Shift+O", cmd::FindDefine},
    };
    return shortcuts;
}

QString toolbarCaption() { return QStringLiteral("工具条"); }
QString convertToolbarCaption() { return QStringLiteral("转换文本"); }
QString escapedBarCaption() { return QStringLiteral("转义后文本"); }
