// TComponent: a named object with an owner. The owner keeps its components in
// creation order, finds them by name, tells them about each other's arrival
// and departure, and frees them (last first) when it goes.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace quillory::ui {

enum class TOperation { opInsert, opRemove };

class TComponent {
public:
    explicit TComponent(TComponent* owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    virtual const char* ClassName() const { return "TComponent"; }

    const std::string& Name() const { return name_; }
    // Names are unique among the components of one owner (compared without case).
    void SetName(const std::string& name);
    LONG_PTR Tag() const { return tag_; }
    void SetTag(LONG_PTR tag) { tag_ = tag; }

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_[index]; }
    int ComponentIndex() const;
    // A linear search by name, as callers that look a control up by its name expect.
    TComponent* FindComponent(const std::string& name) const;

    // Told about components inserted into or removed from the owner tree. The
    // default passes the news on to every owned component, so a component owned
    // by a form hears of every new form owned by the application.
    virtual void Notification(TComponent* component, TOperation operation);
    // Asks to be told (through Notification) when `component` is destroyed,
    // also when it has another owner.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    bool Destroying() const { return destroying_; }

    // Announces the finished component to its owner tree (opInsert). Create<T>
    // calls it; it runs once.
    virtual void AfterConstruction();

protected:
    // Frees the owned components, last first. Derived destructors call it while
    // the derived parts are still whole.
    void DestroyComponents();

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);

    std::string name_;
    LONG_PTR tag_ = 0;
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> free_notifies_;
    bool destroying_ = false;
    bool announced_ = false;
};

// Creates a component owned by `owner` and announces it once it is whole.
template <typename T, typename... Args>
T* Create(TComponent* owner, Args&&... args) {
    T* component = new T(owner, std::forward<Args>(args)...);
    component->AfterConstruction();
    return component;
}

}  // namespace quillory::ui
