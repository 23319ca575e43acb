#pragma once
// What the code page, cutter and voice dialog tests share: the dialog link fixture.
#include "tests/dialogs/DialogLinkFixture.h"

namespace tallyx::test {

using MaintenanceDlgTest = DialogLinkTest;

} // namespace tallyx::test
