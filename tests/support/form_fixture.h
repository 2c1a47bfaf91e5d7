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
    // Writes a file and makes it the file under study through the File tab; its path.
    std::string study(const std::string& bytes, const std::string& name = "study.txt") {
        const std::string path = dir.write(name, bytes);
        platform.choose(path);
        press(form.Button2);
        return path;
    }

    TempDir dir;
    FakePlatform platform;
    TForm1 form{platform};
};
