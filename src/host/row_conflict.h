#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "gateway/parameter.h"

namespace vym {

// A save was refused, and rolled back, because another station saved or
// deleted the row after this screen opened it. Shows the server's message
// (who and when; nothing was saved) and asks whether to reload the row from
// the database: True for Yes. On No the screen keeps what the user typed, so
// the user can copy it or cancel.
bool AskToReload(const std::string& message);

// What a screen keeps of a save refused because another station saved the
// row since it was read: the server's message, offered once the save has
// rolled back, so that the question never waits inside a transaction.
class RowConflict {
  public:
    // After a save that sent the version it read: True when the save was
    // refused because the row changed. The message of `messageParameter` is
    // kept, the first one of a save that writes several rows.
    bool Refused(const ParameterList& parameters, std::string_view messageParameter = "@message");
    // After a record's save: True when the record kept a refusal because its
    // row changed (its RowConflict(), "" when none), kept here the same way.
    bool Refused(const std::string& recordConflict);
    // True from a refusal kept until OfferReload.
    bool Pending() const { return !message_.empty(); }
    // Once the save rolled back: when one was refused, shows who and when and
    // asks whether to reload (True for Yes). Forgets the refusal either way.
    bool OfferReload();

  private:
    std::string message_;
};

// A save through the screen context of a row a screen read: the version it
// read goes in (0, a new row: nothing is checked) and the row's new version
// comes back; a refusal because another station saved the row since is kept
// in `conflict` instead of being shown.
struct GuardedSave {
    std::int32_t version = 0;
    RowConflict* conflict = nullptr;
};

}  // namespace vym
