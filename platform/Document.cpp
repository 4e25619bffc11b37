#include "platform/Document.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>

#include "platform/RegularFile.h"
#include "platform/SafeFile.h"
#include "platform/TextEncoding.h"

namespace {

std::string FileNameOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Quoted(const std::string& path)
{
    std::string quoted(1, '"');
    quoted += DisplayText(path);
    quoted += '"';
    return quoted;
}

// Whether the file's first bytes read as text: some bytes, and none of them
// a control character other than white space. A saved document never does:
// its first fields are small 32-bit numbers, which hold zero bytes.
bool StartsAsText(std::FILE* file)
{
    unsigned char head[4096];
    std::rewind(file);
    const std::size_t n = std::fread(head, 1, sizeof head, file);
    return n > 0 && std::all_of(head, head + n, [](unsigned char c) {
               return c >= 0x20 ? c != 0x7F : (c >= '\t' && c <= '\r');
           });
}

// The name offered for saving a document titled title: a title with an
// extension of another kind (that of an imported file) takes the document's
// own, so that accepting the name never replaces the imported file.
std::string SaveNameFor(const std::string& title, const std::string& extension)
{
    const auto dot = title.find_last_of('.');
    if (extension.empty() || dot == std::string::npos || dot == 0 || title.compare(dot, std::string::npos, extension) == 0)
        return title;
    return title.substr(0, dot) + extension;
}

} // namespace

void CDocument::SetPathName(const std::string& path)
{
    m_strPathName = path;
    m_strTitle = FileNameOf(path);
}

void CDocument::AddView(CView* view)
{
    if (view && std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void CDocument::RemoveView(CView* view)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

void CDocument::UpdateAllViews(CView* sender, long hint, void* hintObject)
{
    // A view may close another while updating; work on a copy.
    const std::vector<CView*> views = m_views;
    for (CView* v : views)
        if (v != sender && std::find(m_views.begin(), m_views.end(), v) != m_views.end())
            v->OnUpdate(sender, hint, hintObject);
}

bool CDocument::OnNewDocument()
{
    DeleteContents();
    SetModifiedFlag(false);
    m_strPathName.clear();
    return true;
}

bool CDocument::OnOpenDocument(const std::string& path)
{
    // Only a regular file: a pipe or a device given as a document could
    // keep the program waiting for ever.
    std::string openError;
    std::FILE* file = OpenRegularFile(path, openError);
    if (!file) {
        Ui().ShowError("Cannot open " + Quoted(path) + ": " + openError + ".");
        return false;
    }
    DeleteContents();
    SetModifiedFlag(true); // dirty while loading, as a half-read document is
    std::string error;
    bool outOfMemory = false;
    try {
        CStdioSource source(file);
        CArchive ar(source);
        Serialize(ar);
    } catch (const std::bad_alloc&) {
        // The file may be sound: it is too large for the memory left.
        outOfMemory = true;
    } catch (const std::exception& e) {
        error = e.what();
    }
    // A text file given as a document is named as such: what its first
    // characters mean as a document's numbers would only puzzle.
    const bool text = !outOfMemory && !error.empty() && StartsAsText(file);
    std::fclose(file);
    if (outOfMemory || !error.empty()) {
        DeleteContents();
        SetModifiedFlag(false);
        Ui().ShowError("Unable to open " + Quoted(path) +
                       (outOfMemory ? ": there is not enough memory to load it."
                        : text      ? ": it is a text file, not a Kestrin document (import it as a text file of "
                                      "numbers instead)."
                                    : ": it is not a Kestrin document or it is damaged (" + error + ")."));
        return false;
    }
    SetModifiedFlag(false);
    SetPathName(path);
    return true;
}

bool CDocument::OnSaveDocument(const std::string& path)
{
    std::string error;
    const bool ok = WriteFileSafely(
        path,
        [this](CByteSink& sink) {
            CArchive ar(sink);
            Serialize(ar);
            ar.Flush();
        },
        error);
    if (!ok) {
        Ui().ShowError("Unable to save " + Quoted(path) + ": " + error +
                       ". The file on disk has not been changed.");
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

void CDocument::OnCloseDocument()
{
    DeleteContents();
    m_views.clear();
}

bool CDocument::Close()
{
    if (!SaveModified())
        return false;
    OnCloseDocument();
    return true;
}

bool CDocument::SaveModified()
{
    if (!IsModified())
        return true;
    const std::string title = m_strTitle.empty() ? FileNameOf(m_strPathName) : m_strTitle;
    switch (Ui().AskSaveChanges(title)) {
    case MsgResult::cancel:
        return false;
    case MsgResult::no:
        return true;
    default:
        return DoFileSave();
    }
}

bool CDocument::DoSave(const std::string& path, bool replace)
{
    std::string target = path;
    if (target.empty()) {
        FileDialogOptions options = m_saveDialog;
        if (options.fileName.empty())
            options.fileName = SaveNameFor(m_strTitle, options.defaultExtension);
        options.overwritePrompt = true;
        const auto chosen = Ui().ChooseSaveFile(options);
        if (!chosen || chosen->empty())
            return false;
        target = *chosen;
    }
    if (!OnSaveDocument(target))
        return false;
    if (replace)
        SetPathName(target);
    return true;
}
