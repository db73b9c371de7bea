// Reference counting and the ledger hooks of host objects.
#include "shell/core/ObjectBase.h"

#include "shell/core/Log.h"

namespace shell {

ObjectBase::ObjectBase(ObjectSpace& space, const char* kind, std::string label, bool siteOwned)
    : space_(space), kind_(kind), id_(space.GetLedger().Register(kind, std::move(label), siteOwned)) {}

void ObjectBase::Drop() {
    if (space_.Closing() || references_ <= 0) return;
    if (--references_ == 0 && !disposed_) {
        disposed_ = true;
        OnDisposed();
    }
}

void ObjectBase::HandOut() {
    space_.GetLedger().HandOut(id_);
    Retain();
}

void ObjectBase::ReleaseByApplet() {
    if (TraceEnabled()) TraceLine(Name() + ".Release()");
    if (!space_.GetLedger().Release(id_)) {
        const LedgerEntry& e = space_.GetLedger().Entry(id_);
        Log("%s released %s", Name().c_str(),
            e.siteOwned ? "although it belongs to the site" : "with no reference left");
        return;
    }
    Drop();
}

ObjectSpace::~ObjectSpace() {
    closing_ = true;
    objects_.clear();
}

}  // namespace shell
