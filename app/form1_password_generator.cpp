#include "app/form1.h"
#include "passgen/password_generator.h"
#include "passgen/system_random_source.h"
#include "ui/cp1251.h"

void TForm1::ButtonGenPasswordClick() {
    varn::SystemRandomSource systemSource;
    varn::RandomSource& source = state.passwordRandom ? *state.passwordRandom : systemSource;
    const auto result = varn::GeneratePassword(
        {CheckBoxLat.checked(), CheckBoxRus.checked(), EditKolvoSygn.text()}, source);
    if (!result) return;
    EditKolvoSygn.setText(std::to_string(result->count));
    EditGenPassword.setText(ui::DecodeCp1251(result->password));
    const std::string split = ui::DecodeCp1251(result->split);
    EditGenPassword.setHint(split);
    EditSplitPassword.setText(split);
}
