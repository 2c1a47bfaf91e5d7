#pragma once

#include <gtest/gtest.h>

#include "app/form1.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"

// A shown window on a scripted desktop, working in a fresh current directory.
class FormTest : public ::testing::Test {
  protected:
    FormTest() { form.FormShow(); }

    void english() {
        form.dispatch([&] { form.RadioButtonEng.click(); });
    }
    void russian() {
        form.dispatch([&] { form.RadioButtonRus.click(); });
    }
    void press(ui::Control& control) {
        form.dispatch([&] { control.click(); });
    }
    const FakePlatform::Box& lastBox() const { return platform.boxes.back(); }

    TempDir dir;
    FakePlatform platform;
    TForm1 form{platform};
};
