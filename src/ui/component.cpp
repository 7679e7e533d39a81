#include "ui/component.h"

#include <algorithm>
#include <stdexcept>

namespace quillory::ui {

namespace {

// Printable ASCII: letters, digits, punctuation and the space. For such names
// the platform's case-blind compare is equality after folding A-Z to a-z;
// beyond them it knows weightless characters and equivalences (a ligature
// and its two letters), so those are left to the platform itself.
bool IsPlainName(const std::string& name) {
    for (unsigned char ch : name)
        if (ch < 0x20 || ch > 0x7E) return false;
    return true;
}

std::string FoldedName(const std::string& name) {
    std::string folded = name;
    for (char& ch : folded)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return folded;
}

}  // namespace

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->Insert(this);
}

void TComponent::operator delete(TComponent* component, std::destroying_delete_t) {
    void* storage = dynamic_cast<void*>(component);  // the start of the whole object
    component->BeforeDestruction();
    component->~TComponent();
    ::operator delete(storage);
}

TComponent::~TComponent() {
    BeforeDestruction();  // nothing left to do when delete ran it
    DestroyComponents();
    if (owner_) owner_->Remove(this);
}

void TComponent::MarkDestroying() {
    destroying_ = true;
    for (TComponent* owned : components_) owned->MarkDestroying();
}

void TComponent::BeforeDestruction() {
    if (removal_announced_) return;
    removal_announced_ = true;
    MarkDestroying();
    // Whoever asked to hear of our end hears it now, then forgets us.
    auto listeners = std::move(free_notifies_);
    free_notifies_.clear();
    for (TComponent* listener : listeners) {
        auto& theirs = listener->free_notifies_;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        listener->Notification(this, TOperation::opRemove);
    }
    // Also while the owner itself goes: the application frees its forms last
    // first, and the forms still there keep lists that must not hold this one.
    if (owner_) owner_->Notification(this, TOperation::opRemove);
}

void TComponent::DestroyComponents() {
    MarkDestroying();
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
    if (owner_) owner_->UnindexName(this);
    name_ = name;
    if (owner_) owner_->IndexName(this);
}

int TComponent::ComponentIndex() const {
    if (!owner_) return -1;
    auto& list = owner_->components_;
    auto found = std::find(list.begin(), list.end(), this);
    return found == list.end() ? -1 : static_cast<int>(found - list.begin());
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    if (!IsPlainName(name)) {
        for (TComponent* component : components_) {
            if (lstrcmpiA(component->name_.c_str(), name.c_str()) == 0) return component;
        }
        return nullptr;
    }
    TComponent* found = nullptr;
    if (auto indexed = names_.find(FoldedName(name)); indexed != names_.end())
        found = indexed->second;
    // A plain name may still equal an unusual one in the platform's eyes; the
    // first in creation order wins, as a search from the front would find.
    for (TComponent* component : unusually_named_) {
        if (lstrcmpiA(component->name_.c_str(), name.c_str()) != 0) continue;
        if (!found || component->ComponentIndex() < found->ComponentIndex()) found = component;
    }
    return found;
}

void TComponent::IndexName(TComponent* component) {
    if (component->name_.empty()) return;
    if (IsPlainName(component->name_))
        names_.emplace(FoldedName(component->name_), component);
    else
        unusually_named_.push_back(component);
}

void TComponent::UnindexName(TComponent* component) {
    if (component->name_.empty()) return;
    if (IsPlainName(component->name_)) {
        auto indexed = names_.find(FoldedName(component->name_));
        if (indexed != names_.end() && indexed->second == component) names_.erase(indexed);
    } else {
        unusually_named_.erase(
            std::remove(unusually_named_.begin(), unusually_named_.end(), component),
            unusually_named_.end());
    }
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

void TComponent::LoadTree() {
    if (!loaded_) {
        loaded_ = true;
        Loaded();
    }
    // Copy: a Loaded step may create components of its own.
    auto components = components_;
    for (TComponent* owned : components) owned->LoadTree();
}

void TComponent::Insert(TComponent* component) {
    components_.push_back(component);
    component->owner_ = this;
    IndexName(component);
}

void TComponent::Remove(TComponent* component) {
    UnindexName(component);
    components_.erase(std::remove(components_.begin(), components_.end(), component),
                      components_.end());
    component->owner_ = nullptr;
}

}  // namespace quillory::ui
