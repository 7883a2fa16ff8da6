#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "base/error.h"

namespace vym::test {

// The error `call` throws; number 0 and no description when it throws none.
template <class Call>
Error Thrown(Call&& call) {
    try {
        call();
    } catch (const Error& e) {
        return e;
    }
    return Error(0, "", "");
}

}  // namespace vym::test
