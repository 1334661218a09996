#pragma once

// Identifiers of the program's window templates, controls and pictures.
// The Windows resource script uses the same numbers.

// Window templates
inline constexpr int IDD_ABOUT = 100;
inline constexpr int IDD_SAMPLER = 102;

// Pictures
inline constexpr int IDI_APP = 128;
inline constexpr int IDC_SAMPLER = 129;
inline constexpr int IDC_LINKHAND = 130;
inline constexpr int IDI_ABOUTPIC = 131;

// Window-menu commands. Their low four bits are the system's, so only the
// rest identifies the command.
inline constexpr int IDM_ABOUT = 16;

// Controls that no code refers to.
inline constexpr int IDC_STATIC = -1;

// The two standard commands: a push button with one of these identifiers ends
// its window, accepting or cancelling.
inline constexpr int ID_OK = 1;
inline constexpr int ID_CANCEL = 2;

// Controls of the sampler window.
inline constexpr int IDC_ZOOMLIST = 1000;
inline constexpr int IDC_REDTEXT = 1001;
inline constexpr int IDC_GREENTEXT = 1002;
inline constexpr int IDC_BLUETEXT = 1003;
inline constexpr int IDC_HASHHEXTEXT = 1004;
inline constexpr int IDC_POVRAYTEXT = 1005;
inline constexpr int IDC_HEXTEXT = 1006;
inline constexpr int IDC_TOPMOST = 1007;
inline constexpr int IDC_COLORAREA = 1008;
inline constexpr int IDC_COPYHASHHEX = 1009;
inline constexpr int IDC_COPYRED = 1010;
inline constexpr int IDC_COPYGREEN = 1011;
inline constexpr int IDC_COPYBLUE = 1012;
inline constexpr int IDC_COPYPOVRAY = 1013;
inline constexpr int IDC_ZOOMAREA = 1014;
inline constexpr int IDC_COPYHEX = 1015;

// Controls of the About window.
inline constexpr int IDC_MAILLINK = 1005;
inline constexpr int IDC_WEBLINK = 1006;
// The name and version, to which the window adds the windowing system.
inline constexpr int IDC_VERSIONTEXT = 1007;
