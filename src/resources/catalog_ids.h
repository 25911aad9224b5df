// catalog_ids.h - the command ids of the catalog window's menus, toolbar and
// keys, and the two private commands the main window sends it.
#pragma once

namespace listcmd {

// File
inline constexpr int New = 40102;
inline constexpr int Open = 40103;
inline constexpr int SaveAs = 40104;
inline constexpr int Save = 40105;
inline constexpr int Close = 40012;

// Edit
inline constexpr int DataInput = 40113;
inline constexpr int MassInput = 40126;
inline constexpr int Up = 40111;
inline constexpr int Down = 40112;
inline constexpr int Delete = 40070;
inline constexpr int DeleteAll = 40136;

// Add
inline constexpr int AddCurrentFolder = 40115;
inline constexpr int AddCurrentFile = 40116;
inline constexpr int AddFolderTree = 40135;

// Tools
inline constexpr int Find = 40119;
inline constexpr int Replace = 40182;
inline constexpr int AutoFill = 40124;
inline constexpr int FavouritePlus = 40141;
inline constexpr int FavouriteMinus = 40142;
inline constexpr int OpenTarget = 40144;
inline constexpr int ListInformation = 40170;

// Settings
inline constexpr int ColumnSet = 40123;
inline constexpr int ColumnRename = 40125;

// Sent by the main window: ask to save a changed list and go (at the viewer's
// end), and apply the viewer's transparency.
inline constexpr int Quit = 2323;
inline constexpr int Transparency = 2324;

} // namespace listcmd
