// The least document framework: document strings, templates owned by the application, string
// resources and file removal.
#include <gtest/gtest.h>

#include <fstream>

#include <winport/afx.h>

TEST(DocTemplate, DocStringFieldsByIndex) {
  CSingleDocTemplate t(0, nullptr, nullptr, nullptr);
  t.SetDocStrings(L"Title\nClip\nNew clip\nClips (*.clp)\n.clp");
  CString s;
  EXPECT_TRUE(t.GetDocString(s, CDocTemplate::windowTitle));
  EXPECT_EQ(s, L"Title");
  EXPECT_TRUE(t.GetDocString(s, CDocTemplate::filterName));
  EXPECT_EQ(s, L"Clips (*.clp)");
  EXPECT_TRUE(t.GetDocString(s, CDocTemplate::filterExt));
  EXPECT_EQ(s, L".clp");
  EXPECT_FALSE(t.GetDocString(s, CDocTemplate::regFileTypeId));
  EXPECT_EQ(s, L"");
  t.SetDocStrings(L"\n\n\n\n");
  EXPECT_TRUE(t.GetDocString(s, CDocTemplate::filterExt));
  EXPECT_EQ(s, L"");
}

TEST(DocTemplate, ApplicationOwnsItsTemplatesInOrderAndDocumentsKnowTheirs) {
  CWinApp app;
  EXPECT_EQ(app.GetFirstDocTemplatePosition(), nullptr);
  auto* a = new CSingleDocTemplate(0, nullptr, nullptr, nullptr);
  auto* b = new CSingleDocTemplate(0, nullptr, nullptr, nullptr);
  app.AddDocTemplate(a);
  app.AddDocTemplate(b);
  POSITION pos = app.GetFirstDocTemplatePosition();
  EXPECT_EQ(app.GetNextDocTemplate(pos), a);
  EXPECT_EQ(app.GetNextDocTemplate(pos), b);
  EXPECT_EQ(pos, nullptr);
  CDocument doc;
  b->AddDocument(&doc);
  EXPECT_EQ(doc.GetDocTemplate(), b);
  EXPECT_EQ(b->m_pOnlyDoc, &doc);
  doc.SetPathName(L"C:\\clips\\take 1.clp");
  EXPECT_EQ(doc.GetTitle(), L"take 1.clp");
  EXPECT_EQ(doc.GetPathName(), L"C:\\clips\\take 1.clp");
  b->RemoveDocument(&doc);
  EXPECT_EQ(doc.GetDocTemplate(), nullptr);
}

TEST(StringResources, FrameworkTitlesAndModuleStrings) {
  CString s;
  ASSERT_TRUE(s.LoadString(AFX_IDS_SAVEFILE));
  EXPECT_EQ(s, L"Save As");
  ASSERT_TRUE(s.LoadString(AFX_IDS_SAVEFILECOPY));
  EXPECT_EQ(s, L"Save Copy As");
  EXPECT_FALSE(s.LoadString(0x7123));
  wchar_t buf[5];
  EXPECT_EQ(LoadStringW(nullptr, AFX_IDS_SAVEFILE, buf, 5), 4);
  EXPECT_STREQ(buf, L"Save");
  // A module's string stands before the framework's.
  HINSTANCE mod = winport::AddResourceModule(L"host");
  winport::AddStringResource(mod, AFX_IDS_SAVEFILE, L"Speichern unter");
  ASSERT_TRUE(s.LoadString(AFX_IDS_SAVEFILE));
  EXPECT_EQ(s, L"Speichern unter");
  winport::RemoveResourceModule(mod);
  // A template loads its document string from its resource id.
  HINSTANCE mod2 = winport::AddResourceModule(L"host2");
  winport::AddStringResource(mod2, 200, L"W\nw\nW\nWave (*.wav)\n.wav");
  CSingleDocTemplate t(200, nullptr, nullptr, nullptr);
  ASSERT_TRUE(t.GetDocString(s, CDocTemplate::filterExt));
  EXPECT_EQ(s, L".wav");
  winport::RemoveResourceModule(mod2);
}

TEST(FileRemove, RemovesOrThrowsWithTheCause) {
  char dir[] = "/tmp/winport-doc-XXXXXX";
  ASSERT_NE(::mkdtemp(dir), nullptr);
  const std::string file = std::string(dir) + "/x.clp";
  std::ofstream(file) << "x";
  CFile::Remove(CString::FromUtf8(file));
  EXPECT_NE(::access(file.c_str(), F_OK), 0);
  try {
    CFile::Remove(CString::FromUtf8(file));
    ADD_FAILURE() << "removing a missing file must throw";
  } catch (const CFileException& e) {
    EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
  }
  EXPECT_THROW(CFile::Remove(L"C:\\nothing.clp"), CFileException);
  EXPECT_THROW(CFile::Remove(nullptr), CFileException);
  ::rmdir(dir);
}
