#pragma once
// The shell stand-ins: paths, finding files, file information, prompts, the folder picker.
#include "winport/shell/CommDlg.h"
#include "winport/shell/FileFind.h"
#include "winport/shell/Path.h"
#include "winport/shell/PromptProvider.h"
#include "winport/shell/ShellInfo.h"
#include "winport/shell/ShlObj.h"
