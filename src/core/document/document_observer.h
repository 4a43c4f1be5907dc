#pragma once

namespace trellic {

// What the open resume announces to whoever shows it, so that nobody has to poll. Each handler
// does nothing unless overridden. Announcements come once a document operation has finished,
// and only for what it really changed.
class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;

    // The records or stacks of the tree.
    virtual void OnTreeChanged() {}
    // The renderer or the data source (and their menu marks).
    virtual void OnSettingsChanged() {}
    virtual void OnModifiedChanged(bool /*modified*/) {}
    // The file the resume is saved to, or the document's name.
    virtual void OnFileNameChanged() {}
    virtual void OnProtectionChanged(bool /*protectedNow*/) {}
};

} // namespace trellic
