#pragma once

#include "render/resume_view.h"

#include <new>

namespace trellic {

// A view that runs out of memory when it is handed the next rendering.
class ExhaustedView : public HeadlessResumeView {
public:
    void ReplaceContent(const RichDocument& document, TextRange selection) override {
        if (failuresLeft > 0) {
            --failuresLeft;
            throw std::bad_alloc();
        }
        HeadlessResumeView::ReplaceContent(document, selection);
    }
    int failuresLeft = 0;
};

} // namespace trellic
