// Names of the program's resources, shared by the resource script and the code.
#pragma once

#define RES_MAIN_ICON L"MAINICON"

/* Drive images in the order of their image-list indexes. */
#define RES_DRIVE_REMOVABLE L"DRIVE_REMOVABLE"
#define RES_DRIVE_FIXED L"DRIVE_FIXED"
#define RES_DRIVE_RAMDISK L"DRIVE_RAMDISK"
#define RES_DRIVE_REMOTE L"DRIVE_REMOTE"
#define RES_DRIVE_CDROM L"DRIVE_CDROM"

#define RES_GLYPH_COPYINFO L"GLYPH_COPYINFO"
#define RES_GLYPH_COPYINFOS L"GLYPH_COPYINFOS"
#define RES_GLYPH_HELP L"GLYPH_HELP"
#define RES_GLYPH_INFO L"GLYPH_INFO"
#define RES_GLYPH_CLOSE L"GLYPH_CLOSE"
#define RES_GLYPH_OK L"GLYPH_OK"

/* The help text, RTF in code page 1252. */
#define RES_HELP_TEXT L"HELP_RTF"
