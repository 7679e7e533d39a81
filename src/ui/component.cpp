#include "ui/component.h"

#include <algorithm>
#include <stdexcept>

namespace quillory::ui {

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->Insert(this);
}

TComponent::~TComponent() {
    destroying_ = true;
    DestroyComponents();
    // Whoever asked to hear of our end hears it now, then forgets us.
    auto listeners = std::move(free_notifies_);
    for (TComponent* listener : listeners) {
        listener->Notification(this, TOperation::opRemove);
        auto& theirs = listener->free_notifies_;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    }
    if (owner_) {
        TComponent* owner = owner_;
        owner->Remove(this);
        if (!owner->destroying_) owner->Notification(this, TOperation::opRemove);
    }
}

void TComponent::DestroyComponents() {
    destroying_ = true;
    while (!components_.empty()) {
        TComponent* last = components_.back();
        delete last;  // its destructor removes it from the list
    }
}

void TComponent::SetName(const std::string& name) {
    if (name == name_) return;
    if (!name.empty() && owner_) {
        TComponent* existing = owner_->FindComponent(name);
        if (existing && existing != this)
            throw std::invalid_argument("A component named " + name + " already exists");
    }
    name_ = name;
}

int TComponent::ComponentIndex() const {
    if (!owner_) return -1;
    auto& list = owner_->components_;
    auto found = std::find(list.begin(), list.end(), this);
    return found == list.end() ? -1 : static_cast<int>(found - list.begin());
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* component : components_) {
        if (lstrcmpiA(component->name_.c_str(), name.c_str()) == 0) return component;
    }
    return nullptr;
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove) {
        free_notifies_.erase(std::remove(free_notifies_.begin(), free_notifies_.end(), component),
                             free_notifies_.end());
    }
    // Copy: a listener may free components while it is told.
    auto components = components_;
    for (TComponent* owned : components) {
        if (owned != component) owned->Notification(component, operation);
    }
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) return;
    if (std::find(component->free_notifies_.begin(), component->free_notifies_.end(), this) ==
        component->free_notifies_.end()) {
        component->free_notifies_.push_back(this);
        free_notifies_.push_back(component);
    }
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (!component) return;
    auto& theirs = component->free_notifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    free_notifies_.erase(std::remove(free_notifies_.begin(), free_notifies_.end(), component),
                         free_notifies_.end());
}

void TComponent::AfterConstruction() {
    if (announced_) return;
    announced_ = true;
    if (owner_) owner_->Notification(this, TOperation::opInsert);
}

void TComponent::Insert(TComponent* component) {
    components_.push_back(component);
    component->owner_ = this;
}

void TComponent::Remove(TComponent* component) {
    components_.erase(std::remove(components_.begin(), components_.end(), component),
                      components_.end());
    component->owner_ = nullptr;
}

}  // namespace quillory::ui
