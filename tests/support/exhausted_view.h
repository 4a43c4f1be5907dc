#pragma once

#include "render/resume_view.h"

#include <new>
#include <utility>

namespace trellic {

// A view that runs out of memory when it is handed the next rendering.
class ExhaustedView : public HeadlessResumeView {
public:
    void ReplaceContent(RichDocument document, TextRange selection) override {
        if (failuresLeft > 0) {
            --failuresLeft;
            throw std::bad_alloc();
        }
        HeadlessResumeView::ReplaceContent(std::move(document), selection);
    }
    int failuresLeft = 0;
};

} // namespace trellic
