#pragma once
// The numbered commands shared by menus, toolbars and shortcuts.

namespace cmd {
constexpr int Cut = 121;
constexpr int Paste = 122;
constexpr int Copy = 123;
constexpr int Save = 128;
constexpr int Exit = 129;
constexpr int DeleteLine = 135;
constexpr int Undo = 137;
constexpr int Redo = 138;
constexpr int WordWrap = 140;
constexpr int EscapedFile = 601;
constexpr int Open = 710;
constexpr int Escape = 1130;
constexpr int Restore = 1131;
constexpr int SaveAs = 1132;
constexpr int Find = 1433;
constexpr int SelectAll = 1434;
constexpr int FindNext = 1435;
constexpr int Replace = 1436;
constexpr int About = 2004;
constexpr int ConnectDevDb = 32322;
// Our own: go to a line (Ctrl+G), on no menu.
constexpr int Goto = 1440;
// Our own: the problems dock (View menu) and the next problem (F8).
constexpr int ProblemsList = 611;
constexpr int NextProblem = 1450;
constexpr int PreviousProblem = 1451; // Shift+F8
// Our own: print and HTML export, in the File menu.
constexpr int Print = 1521;
constexpr int ExportHtml = 1522;
// Our own: the recent files submenu (File menu, local mode).
constexpr int RecentFiles = 1523;
// Our own: the defines dock (View menu) and the way into its filter box (Ctrl+Shift+O).
constexpr int DefinesList = 612;
constexpr int FindDefine = 1452;
} // namespace cmd
