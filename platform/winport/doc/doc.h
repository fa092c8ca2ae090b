#pragma once
// The document framework's least part: application templates, documents, file dialogs.
#include "winport/doc/CDialog.h"
#include "winport/doc/CDocManager.h"
#include "winport/doc/CDocTemplate.h"
#include "winport/doc/CDocument.h"
#include "winport/doc/CFile.h"
#include "winport/doc/CFileDialog.h"
#include "winport/doc/CWaitCursor.h"
#include "winport/doc/RuntimeClass.h"
#include "winport/doc/StringResources.h"
