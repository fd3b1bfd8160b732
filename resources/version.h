// One place for the program's version: the version record and the code both read it.
#pragma once

#define QUOR6_VERSION_NUMBERS 1, 0, 0, 6
#define QUOR6_VERSION_TEXT "1.00.0006"
#define QUOR6_VERSION_LABEL "Version 1.06"
#define QUOR6_PRODUCT_NAME "quor6"
#define QUOR6_COMPANY_NAME "None"
#define QUOR6_EXE_NAME "quor6.exe"
