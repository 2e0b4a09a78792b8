// Names of the program's resources, shared by the resource script and the code.
#pragma once

#define RES_MAIN_ICON "MAINICON"

/* Drive images in the order of their image-list indexes. */
#define RES_DRIVE_REMOVABLE "DRIVE_REMOVABLE"
#define RES_DRIVE_FIXED "DRIVE_FIXED"
#define RES_DRIVE_RAMDISK "DRIVE_RAMDISK"
#define RES_DRIVE_REMOTE "DRIVE_REMOTE"
#define RES_DRIVE_CDROM "DRIVE_CDROM"

#define RES_GLYPH_COPYINFO "GLYPH_COPYINFO"
#define RES_GLYPH_COPYINFOS "GLYPH_COPYINFOS"
#define RES_GLYPH_HELP "GLYPH_HELP"
#define RES_GLYPH_INFO "GLYPH_INFO"
#define RES_GLYPH_CLOSE "GLYPH_CLOSE"
#define RES_GLYPH_OK "GLYPH_OK"

/* The help text, RTF in code page 1252. */
#define RES_HELP_TEXT "HELP_RTF"
