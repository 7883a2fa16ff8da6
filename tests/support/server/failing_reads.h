#pragma once

namespace vym::test {

// While it lives, SQLite's default file system fails every read of a main
// database file after the first one (the header read while the file is
// opened) with `code`, as a full, failing or locked disk would. Only one may
// live at a time.
class FailingReads {
  public:
    explicit FailingReads(int code);
    ~FailingReads();
    FailingReads(const FailingReads&) = delete;
    FailingReads& operator=(const FailingReads&) = delete;
};

}  // namespace vym::test
