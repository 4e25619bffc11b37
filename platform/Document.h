#pragma once

#include <string>
#include <vector>

#include "platform/Archive.h"
#include "platform/UiServices.h"

class CDocument;

// Something that shows a document and is told when it changes.
class CView
{
public:
    virtual ~CView() = default;
    // sender: the view that caused the change, or null; hint and hintObject
    // are passed through as given: 0 and null for any change, or a hint the
    // document defines for a narrower one.
    virtual void OnUpdate(CView* sender, long hint, void* hintObject) = 0;
};

// The document base: modified flag, path and title, the views that show it,
// and the new / open / save / close sequence with the save prompt. It talks
// to the user only through the UI services.
class CDocument
{
public:
    explicit CDocument(IUiServices& ui) : m_ui(&ui) {}
    virtual ~CDocument() = default;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    IUiServices& Ui() const { return *m_ui; }

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }

    const std::string& GetPathName() const { return m_strPathName; }
    // Sets the path and takes the title from its file name.
    void SetPathName(const std::string& path);
    const std::string& GetTitle() const { return m_strTitle; }
    void SetTitle(const std::string& title) { m_strTitle = title; }

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& GetViews() const { return m_views; }
    void UpdateAllViews(CView* sender, long hint = 0, void* hintObject = nullptr);

    // Empties the document and clears the modified flag and the path.
    virtual bool OnNewDocument();
    // Empties the document, then reads the file. On any failure the user is
    // told (naming the file), the document is left empty and unmodified, and
    // false is returned.
    virtual bool OnOpenDocument(const std::string& path);
    // Writes the document through a temporary file renamed over the target;
    // a failed save leaves the old file as it was and tells the user.
    virtual bool OnSaveDocument(const std::string& path);
    virtual void OnCloseDocument();
    // Closing as the user does it: offers to save unsaved changes first.
    // Returns false, changing nothing, when the user cancels or the save
    // fails.
    bool Close();
    virtual void DeleteContents() {}
    virtual void Serialize(CArchive& ar) = 0;

    // Offers to save unsaved changes. Returns false when the user cancels or
    // the save fails: the caller must then leave everything as it is.
    virtual bool SaveModified();
    // Save (replace: the document takes the new path) or Save As: asks for a
    // file name when path is empty.
    bool DoSave(const std::string& path, bool replace = true);
    bool DoFileSave() { return DoSave(m_strPathName, true); }

    // File dialog settings for Save As; the application sets them.
    FileDialogOptions m_saveDialog;

private:
    IUiServices* m_ui;
    bool m_bModified = false;
    std::string m_strPathName;
    std::string m_strTitle;
    std::vector<CView*> m_views;
};
