// command_ids.h - the command ids of the main window's menus, keys and
// private messages.
#pragma once

namespace cmd {

// File
inline constexpr int Open = 40008;
inline constexpr int FirstFile = 40079;
inline constexpr int PreviousPage = 40085;
inline constexpr int NextPage = 40084;
inline constexpr int PreviousFile = 40080;
inline constexpr int NextFile = 40078;
inline constexpr int LastFile = 40081;
inline constexpr int RandomFile = 40134;
inline constexpr int PictureInformation = 40183;
inline constexpr int Exit = 40011;

// Edit
inline constexpr int Copy = 40018;

// Filters, in the order of their codes 0 to 5, 7 and 8 (code 6 has no item)
inline constexpr int FilterNone = 39000;
inline constexpr int FilterNegative = 39001;
inline constexpr int FilterGrey = 39002;
inline constexpr int FilterBlur = 39003;
inline constexpr int FilterSharpen = 39004;
inline constexpr int FilterBrighten = 39005;
inline constexpr int FilterBlur2 = 39006;
inline constexpr int FilterDarken = 39010;

// Rotations; the ids skip 40164
inline constexpr int RotateNone = 40159;
inline constexpr int RotateRight = 40160;
inline constexpr int RotateLeft = 40161;
inline constexpr int RotateAutoRight = 40162;
inline constexpr int RotateAutoLeft = 40163;
inline constexpr int MirrorLeftRight = 40165;
inline constexpr int FlipUpsideDown = 40166;

// View
inline constexpr int FullScreen = 40073;
inline constexpr int ReverseBinding = 40086;
inline constexpr int PageSelect = 40088;
inline constexpr int Slideshow = 40117;
inline constexpr int ZoomIn = 40045;
inline constexpr int ZoomOut = 40046;
inline constexpr int ActualSize = 40175;
inline constexpr int LockZoom = 40180;
inline constexpr int ToggleMenu = 40138;
inline constexpr int ToggleCaption = 40139;
inline constexpr int FitWindowToPicture = 40169;

// Settings
inline constexpr int NormalMode = 40172;
inline constexpr int TwoPageMode = 40173;
inline constexpr int ToggleMode = 40174;
inline constexpr int BindRight = 40090;
inline constexpr int BindLeft = 40091;
inline constexpr int SpreadAuto = 30000;
inline constexpr int SpreadNever = 30001;
inline constexpr int SpreadAlways = 30002;
inline constexpr int Transparency0 = 40093;
inline constexpr int Transparency25 = 40094;
inline constexpr int Transparency50 = 40095;
inline constexpr int Transparency75 = 40096;
inline constexpr int TwoPageFitWindow = 40097;
inline constexpr int TwoPageKeepAspect = 40098;
inline constexpr int TwoPageReduceOnly = 40099;
inline constexpr int NormalFitPicture = 40176;
inline constexpr int NormalFitWindow = 40177;
inline constexpr int NormalFitWidth = 40178;
inline constexpr int NormalFitHeight = 40179;
inline constexpr int SlideshowInterval = 40118;
inline constexpr int Options = 40181;

// List
inline constexpr int ShowCatalog = 40108;
inline constexpr int AddCurrentFolder = 40109;
inline constexpr int AddCurrentFile = 40110;
inline constexpr int OpenFromList = 40120;
inline constexpr int OpenRowAbove = 40121;
inline constexpr int OpenRowBelow = 40122;
inline constexpr int OpenRandomRow = 40133;

// Help
inline constexpr int Help = 40143;
inline constexpr int PluginInformation = 40076;
inline constexpr int Version = 40007;

// Private commands without menu items
inline constexpr int ScrollDown = 10150;  // scrollBy(0, 32)
inline constexpr int ScrollUp = 10151;    // scrollBy(0, -32)
inline constexpr int ScrollLeft = 10152;  // scrollBy(-32, 0)
inline constexpr int ScrollRight = 10153; // scrollBy(32, 0)
inline constexpr int Startup = 10200;
// Decodes the pages after a read-ahead step once that step is on screen.
inline constexpr int RefillReadAhead = 10201;

// The slideshow's timer on the main window
inline constexpr int SlideshowTimer = 1;

} // namespace cmd
