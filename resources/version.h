// The program's version: one source for the version resource and the tests.
#pragma once

#define SANDRIVO_VERSION_MAJOR 1
#define SANDRIVO_VERSION_MINOR 1
#define SANDRIVO_VERSION_RELEASE 1
#define SANDRIVO_VERSION_BUILD 0
#define SANDRIVO_VERSION_TEXT "1.1.1.0"

#define SANDRIVO_PRODUCT_NAME "Quelix Disk-Info"
#define SANDRIVO_COMPANY_NAME "Quelix Software"
/* \251 is the copyright sign in code page 1252. */
#define SANDRIVO_COPYRIGHT "Copyright \251 2026 Quelix Software"
#define SANDRIVO_COMMENTS "Anzeige der Laufwerksinformationen"
#define SANDRIVO_FILE_NAME "Sandrivo.exe"
