#include "engine/RendererRef.h"

namespace {

RendererRefBase*& Head() {
    static RendererRefBase* head = nullptr;
    return head;
}

int& Held() {
    static int held = 0;
    return held;
}

}  // namespace

void RendererRefBase::Reset(void* object) {
    if (object == object_) return;
    if (object_ != nullptr) Unlink();
    object_ = object;
    if (object_ != nullptr) Link();
}

void RendererRefBase::Link() {
    RendererRefBase*& head = Head();
    previous_ = nullptr;
    next_ = head;
    if (head != nullptr) head->previous_ = this;
    head = this;
    ++Held();
}

void RendererRefBase::Unlink() {
    if (previous_ != nullptr) {
        previous_->next_ = next_;
    } else {
        Head() = next_;
    }
    if (next_ != nullptr) next_->previous_ = previous_;
    previous_ = nullptr;
    next_ = nullptr;
    --Held();
}

void RendererRefBase::ReleaseAll() {
    RendererRefBase*& head = Head();
    while (head != nullptr) {
        RendererRefBase* ref = head;
        head = ref->next_;
        ref->object_ = nullptr;
        ref->previous_ = nullptr;
        ref->next_ = nullptr;
    }
    Held() = 0;
}

int RendererRefBase::HeldCount() { return Held(); }
