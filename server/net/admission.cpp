#include "admission.h"

#include <algorithm>

namespace lerva {

Admission::Slot::Slot(Admission& owner, Kind kind, std::string address, Evict evict)
    : owner_(&owner), kind_(kind), address_(std::move(address)), evict_(std::move(evict)),
      lastHeard_(Clock::now()) {}

std::list<Admission::Slot*>& Admission::Slot::list() const {
    switch (kind_) {
    case Kind::Connecting: return owner_->connecting_;
    case Kind::Joined: return owner_->joined_;
    case Kind::Waiting: break;
    }
    return owner_->waiting_;
}

Admission::Slot::~Slot() {
    if (owner_) owner_->release(*this);
}

void Admission::Slot::joined() {
    if (!owner_ || kind_ != Kind::Connecting) return;
    auto& from = list();
    kind_ = Kind::Joined;
    list().splice(list().end(), from, position_);
    lastHeard_ = Clock::now();
}

void Admission::Slot::heard() {
    if (!owner_ || kind_ != Kind::Joined) return;
    lastHeard_ = Clock::now();
    list().splice(list().end(), list(), position_);
}

int Admission::takenBy(const std::string& address) const {
    const auto found = byAddress_.find(address);
    return found == byAddress_.end() ? 0 : found->second;
}

std::unique_ptr<Admission::Slot> Admission::admit(const std::string& address, Evict evict) {
    if (limits_.perAddress > 0 && takenBy(address) >= limits_.perAddress && !freeOneFor(address))
        return nullptr;
    if (taken_ >= limits_.total && !freeOne()) return nullptr;
    return give(Slot::Kind::Connecting, address, std::move(evict));
}

std::unique_ptr<Admission::Slot> Admission::holdForReturn(const std::string& address, Evict evict) {
    return give(Slot::Kind::Waiting, address, std::move(evict));
}

std::unique_ptr<Admission::Slot> Admission::give(Slot::Kind kind, const std::string& address, Evict evict) {
    std::unique_ptr<Slot> slot(new Slot(*this, kind, address, std::move(evict)));
    auto& list = slot->list();
    slot->position_ = list.insert(list.end(), slot.get());
    ++taken_;
    ++byAddress_[address];
    return slot;
}

bool Admission::freeOneFor(const std::string& address) {
    // Only a table this address left behind: its own connections are
    // people who may be playing.
    const auto found = std::find_if(waiting_.begin(), waiting_.end(),
                                    [&](const Slot* slot) { return slot->address_ == address; });
    if (found == waiting_.end()) return false;
    takeBack(**found);
    return true;
}

bool Admission::freeOne() {
    if (!waiting_.empty()) {
        takeBack(*waiting_.front());
        return true;
    }
    if (!joined_.empty() && Clock::now() - joined_.front()->lastHeard_ >= limits_.silentAfter) {
        takeBack(*joined_.front());
        return true;
    }
    return false;
}

void Admission::release(Slot& slot) {
    slot.list().erase(slot.position_);
    --taken_;
    if (--byAddress_[slot.address_] == 0) byAddress_.erase(slot.address_);
    slot.owner_ = nullptr;
}

void Admission::takeBack(Slot& slot) {
    release(slot);
    // Last: letting go may destroy the slot.
    if (auto evict = std::move(slot.evict_)) evict();
}

}  // namespace lerva
