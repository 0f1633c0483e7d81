// Control ids of the options dialog "IDD_DLGJPEG" (rasqet.rc), shared by the template and
// the module code that binds the controls. The template's name stays a string: no id here.
#ifndef RASQET_RESOURCES_RESOURCE_H
#define RASQET_RESOURCES_RESOURCE_H

#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCANCEL
#define IDCANCEL 2
#endif
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDC_WIDTH 1000
#define IDC_HEIGHT 1001
#define IDC_QUALITY 1002
#define IDC_GREYSCALE 1003
#define IDC_PROGRESSIVE 1004
#define IDC_PNG_FASTEST 1005
#define IDC_PNG_FAST 1006
#define IDC_PNG_DEFAULT 1007
#define IDC_PNG_MAXIMUM 1008
#define IDC_PNG_FILTERS 1009
#define IDC_CLIPBOARD_SIZE 1010
#define IDC_AREA_NORMAL 1011
#define IDC_AREA_BLANK 1012
#define IDC_AREA_CROP 1013
#define IDC_HELP_BUTTON 1014
#define IDC_BLACK_AND_WHITE 2015

#endif
