// The document file dialog with scripted prompts: filters, flags, titles, the invisible owner,
// and every branch of the save sequence.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>
#include <vector>

#include "TempDir.h"
#include "ParvaneU.h"
#include "support/HostWindow.h"

namespace hl = winport::headless;
using shelltest::TempDir;

namespace {

// A document that logs its saves and writes, or fails after writing, as told.
class CTestDoc : public CDocument {
 public:
  BOOL OnSaveDocument(LPCTSTR lpszPathName) override {
    m_saved.push_back(lpszPathName);
    m_cursorDuringSave = ::GetCursor();
    if (m_bWriteFirst) std::ofstream(CString(lpszPathName).ToUtf8()) << "partial";
    return m_bSucceed;
  }
  void SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU) override {
    m_pathSets.push_back(lpszPathName);
    m_bAddToMRU = bAddToMRU;
    CDocument::SetPathName(lpszPathName, bAddToMRU);
  }
  std::vector<CString> m_saved, m_pathSets;
  BOOL m_bSucceed = TRUE, m_bWriteFirst = FALSE, m_bAddToMRU = FALSE;
  HCURSOR m_cursorDuringSave = nullptr;
};

CSingleDocTemplate* Template(const wchar_t* docStrings) {
  auto* t = new CSingleDocTemplate(0, nullptr, nullptr, nullptr);  // owned by the application
  t->SetDocStrings(docStrings);
  return t;
}

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

class TaviFileDialogTest : public testsupport::HostWindowTest {
 protected:
  void SetUp() override {
    HostWindowTest::SetUp();
    m_app.m_pMainWnd = &m_top;
  }
  // The one prompt the last call made.
  hl::PromptRecord OnlyPrompt() {
    auto p = hl::Prompts();
    EXPECT_EQ(p.size(), 1u);
    return p.empty() ? hl::PromptRecord{} : p.back();
  }
  BOOL Prompt(CTaviFileDialog& dlg, UINT title, DWORD flags = 0) {
    CString name = L"take";
    return dlg.DoPromptFileName(name, title, flags, FALSE, nullptr);
  }

  CWinApp m_app;
  TempDir m_dir;
};

TEST_F(TaviFileDialogTest, FiltersFromTemplatesStringsOrThePlaceholder) {
  {  // No templates and no string filter: the placeholder.
    CTaviFileDialog dlg(FALSE);
    dlg.SetAppPointer(&m_app);
    Prompt(dlg, AFX_IDS_OPENFILE);
    EXPECT_EQ(OnlyPrompt().filter, L"My File Format (*.mff)|*.mff|My File Format Files (*.mff)|");
    EXPECT_EQ(dlg.m_ofn.nMaxCustFilter, 1u);
  }
  hl::Reset();
  {  // A string filter of one name and one pattern.
    CTaviFileDialog dlg(FALSE);
    dlg.SetStringFilter("Clips (*.clp)|*.clp|");
    Prompt(dlg, AFX_IDS_OPENFILE);
    EXPECT_EQ(OnlyPrompt().filter, L"Clips (*.clp)|*.clp|");
  }
  hl::Reset();
  {  // Saving: every template in order; the first names the default extension and index.
    m_app.AddDocTemplate(Template(L"Clip\nclip\nClip\nClip Files (*.clp)\n.clp\nClip.Doc\nClip Document"));
    m_app.AddDocTemplate(Template(L"Bare\nbare\nBare"));  // no filter: skipped
    m_app.AddDocTemplate(Template(L"Wave\nwave\nWave\nWave Files (*.wav)\n.wav"));
    CTaviFileDialog dlg(FALSE);
    dlg.SetAppPointer(&m_app);
    dlg.SetStringFilter("Ignored|*.x|");
    Prompt(dlg, AFX_IDS_SAVEFILE);
    const hl::PromptRecord r = OnlyPrompt();
    EXPECT_EQ(r.filter, L"Clip Files (*.clp)|*.clp|Wave Files (*.wav)|*.wav|");
    EXPECT_EQ(r.defExt, L"clp");
    EXPECT_EQ(r.filterIndex, 1u);
    EXPECT_EQ(dlg.m_ofn.nMaxCustFilter, 3u);
  }
}

TEST_F(TaviFileDialogTest, OnlyTheFirstTemplateNamesTheDefault) {
  m_app.AddDocTemplate(Template(L"Bare\nbare\nBare\n\n"));
  m_app.AddDocTemplate(Template(L"Wave\nwave\nWave\nWave Files (*.wav)\n.wav"));
  CTaviFileDialog dlg(FALSE);
  dlg.SetAppPointer(&m_app);
  Prompt(dlg, AFX_IDS_SAVEFILECOPY);
  const hl::PromptRecord r = OnlyPrompt();
  EXPECT_EQ(r.filter, L"Wave Files (*.wav)|*.wav|");
  EXPECT_EQ(r.defExt, L"");
  EXPECT_EQ(r.filterIndex, 0u);
}

TEST_F(TaviFileDialogTest, TitlesAndOnlyTheThreeKeptFlags) {
  CTaviFileDialog dlg(FALSE, nullptr, nullptr, OFN_OVERWRITEPROMPT | OFN_FILEMUSTEXIST | OFN_EXPLORER);
  EXPECT_EQ(dlg.m_ofn.Flags, static_cast<DWORD>(OFN_OVERWRITEPROMPT | OFN_FILEMUSTEXIST | OFN_EXPLORER));
  dlg.SetAppPointer(&m_app);
  Prompt(dlg, AFX_IDS_SAVEFILE, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT);
  hl::PromptRecord r = OnlyPrompt();
  EXPECT_EQ(r.title, L"Save As");
  EXPECT_EQ(r.flags, static_cast<DWORD>(OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_PATHMUSTEXIST));
  EXPECT_EQ(r.kind, hl::PromptRecord::Save);
  EXPECT_EQ(r.fileName, L"take");
  hl::Reset();
  CTaviFileDialog copy(TRUE);
  copy.SetAppPointer(&m_app);
  Prompt(copy, AFX_IDS_SAVEFILECOPY);
  r = OnlyPrompt();
  EXPECT_EQ(r.title, L"Save Copy As");
  EXPECT_EQ(r.kind, hl::PromptRecord::Open);  // the kind chosen at construction
}

TEST_F(TaviFileDialogTest, InvisibleOwnerSitsUpLeftOfCentreAndIsDisabled) {
  m_top.ShowWindow(SW_HIDE);  // centred on the screen, not on a hidden main window
  CWnd focus;
  ASSERT_TRUE(focus.Create(nullptr, L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &m_top, 5));
  focus.SetFocus();
  hl::QueuePromptAnswer(L"/tmp/out.clp");
  CTaviFileDialog dlg(FALSE);
  ASSERT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.GetPathName(), L"/tmp/out.clp");
  hl::PromptRecord r = OnlyPrompt();
  ASSERT_NE(r.owner, nullptr);
  EXPECT_NE(r.owner, m_top.GetSafeHwnd());
  EXPECT_EQ(r.ownerRect.left, 960 - 230);
  EXPECT_EQ(r.ownerRect.top, 540 - 180);
  EXPECT_EQ(r.ownerRect.right, r.ownerRect.left);
  EXPECT_EQ(r.ownerRect.bottom, r.ownerRect.top);
  EXPECT_FALSE(r.ownerEnabled);
  // Afterwards: the owner is gone, the focus is back, the main window was never disabled.
  EXPECT_FALSE(::IsWindow(r.owner));
  EXPECT_EQ(::GetFocus(), focus.GetSafeHwnd());
  EXPECT_TRUE(m_top.IsWindowEnabled());

  // Over a visible main window the owner centres on it instead.
  hl::Reset();
  CWnd main;
  ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), L"main", WS_POPUP | WS_VISIBLE, CRect(100, 100, 500, 400), nullptr, 0));
  m_app.m_pMainWnd = &main;
  hl::QueuePromptCancel();
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  r = OnlyPrompt();
  EXPECT_EQ(r.ownerRect.left, 300 - 230);
  EXPECT_EQ(r.ownerRect.top, 250 - 180);
  m_app.m_pMainWnd = nullptr;
  main.DestroyWindow();
}

TEST_F(TaviFileDialogTest, SaveWithoutDocumentOrWithAGivenPath) {
  CTaviFileDialog dlg(FALSE);
  dlg.SetAppPointer(&m_app);
  EXPECT_FALSE(dlg.DoSave(L"/tmp/x.clp", TRUE));  // no document
  CTestDoc doc;
  dlg.SetDocumentPointer(&doc);
  const CString path(CString::FromUtf8(m_dir.File("given.clp")));
  EXPECT_TRUE(dlg.DoSave(path, TRUE));
  EXPECT_TRUE(hl::Prompts().empty());
  ASSERT_EQ(doc.m_saved.size(), 1u);
  EXPECT_EQ(doc.m_saved[0], path);
  ASSERT_EQ(doc.m_pathSets.size(), 1u);
  EXPECT_EQ(doc.m_pathSets[0], path);
  EXPECT_TRUE(doc.m_bAddToMRU);
  EXPECT_EQ(doc.GetTitle(), L"given.clp");
  // Save a copy: saved, path unchanged.
  EXPECT_TRUE(dlg.DoSave(CString::FromUtf8(m_dir.File("copy.clp")), FALSE));
  EXPECT_EQ(doc.m_pathSets.size(), 1u);
  // The wait cursor shows during the save and goes afterwards.
  EXPECT_EQ(doc.m_cursorDuringSave, ::LoadCursorW(nullptr, IDC_WAIT));
  EXPECT_NE(::GetCursor(), ::LoadCursorW(nullptr, IDC_WAIT));
}

TEST_F(TaviFileDialogTest, SavePromptsWithTheTitleCutAndTheTemplateExtension) {
  m_app.AddDocTemplate(Template(L"Clip\nclip\nClip\nClip Files (*.clp)\n.clp"));
  POSITION pos = m_app.GetFirstDocTemplatePosition();
  CDocTemplate* tmpl = m_app.GetNextDocTemplate(pos);
  CTestDoc doc;
  tmpl->AddDocument(&doc);
  doc.SetTitle(L"Untitled #2");
  CTaviFileDialog dlg(FALSE);
  dlg.SetAppPointer(&m_app);
  dlg.SetDocumentPointer(&doc);
  const std::wstring answer = m_dir.WFile("chosen.clp");
  hl::QueuePromptAnswer(answer);
  EXPECT_TRUE(dlg.DoSave(L"", TRUE));
  const hl::PromptRecord r = OnlyPrompt();
  EXPECT_EQ(r.fileName, L"Untitled.clp");
  EXPECT_EQ(r.title, L"Save As");
  EXPECT_EQ(r.defExt, L"clp");
  EXPECT_EQ(r.flags, static_cast<DWORD>(OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT));
  ASSERT_EQ(doc.m_saved.size(), 1u);
  EXPECT_EQ(doc.m_saved[0], CString(answer));
  EXPECT_EQ(doc.GetPathName(), CString(answer));

  // Save a copy of a named document: the prompt starts from its path, the path stays.
  hl::Reset();
  hl::QueuePromptAnswer(m_dir.WFile("copy.clp"));
  EXPECT_TRUE(dlg.DoSave(nullptr, FALSE));
  EXPECT_EQ(OnlyPrompt().fileName, answer);
  EXPECT_EQ(OnlyPrompt().title, L"Save Copy As");
  EXPECT_EQ(doc.GetPathName(), CString(answer));
  EXPECT_EQ(doc.m_saved.size(), 2u);
  tmpl->RemoveDocument(&doc);
}

TEST_F(TaviFileDialogTest, CancelledPromptSavesNothing) {
  CTestDoc doc;
  CTaviFileDialog dlg(FALSE);
  dlg.SetAppPointer(&m_app);
  dlg.SetDocumentPointer(&doc);
  hl::QueuePromptCancel();
  EXPECT_FALSE(dlg.DoSave(L"", TRUE));
  EXPECT_TRUE(doc.m_saved.empty());
  EXPECT_TRUE(doc.m_pathSets.empty());
  EXPECT_FALSE(dlg.DoSave(L"", TRUE));  // nothing queued: cancelled too
  EXPECT_TRUE(doc.m_saved.empty());
}

TEST_F(TaviFileDialogTest, FailedSaveRemovesOnlyAPromptedFile) {
  CTestDoc doc;
  doc.m_bSucceed = FALSE;
  doc.m_bWriteFirst = TRUE;
  CTaviFileDialog dlg(FALSE);
  dlg.SetAppPointer(&m_app);
  dlg.SetDocumentPointer(&doc);
  hl::QueuePromptAnswer(m_dir.WFile("prompted.clp"));
  EXPECT_FALSE(dlg.DoSave(L"", TRUE));
  EXPECT_FALSE(Exists(m_dir.File("prompted.clp")));
  EXPECT_TRUE(doc.m_pathSets.empty());
  // A given path is left as the document wrote it.
  EXPECT_FALSE(dlg.DoSave(CString::FromUtf8(m_dir.File("given.clp")), TRUE));
  EXPECT_TRUE(Exists(m_dir.File("given.clp")));
  // Removing a file that was never written fails quietly.
  doc.m_bWriteFirst = FALSE;
  hl::QueuePromptAnswer(m_dir.WFile("never.clp"));
  EXPECT_FALSE(dlg.DoSave(L"", TRUE));
  EXPECT_EQ(doc.m_saved.size(), 3u);
}

TEST_F(TaviFileDialogTest, IsDynamicallyCreatable) {
  CRuntimeClass* rc = RUNTIME_CLASS(CTaviFileDialog);
  EXPECT_STREQ(rc->m_lpszClassName, "CTaviFileDialog");
  EXPECT_EQ(rc, &CTaviFileDialog::classCTaviFileDialog);
  CCmdTarget* made = rc->CreateObject();
  ASSERT_NE(dynamic_cast<CTaviFileDialog*>(made), nullptr);
  delete made;
}
