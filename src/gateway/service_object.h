#pragma once

namespace vym {

// What the application server keeps of the shared service object: the
// windowing library's CItemMaint derives from this, so the Qt-free server can
// hold it without knowing the class.
class ServiceObject {
  public:
    virtual ~ServiceObject() = default;
};

}  // namespace vym
