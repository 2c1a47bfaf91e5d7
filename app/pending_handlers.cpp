#include "app/form1.h"

void TForm1::Button_OpenSkitalaFileClick() {}
void TForm1::ButtonEnClick() {}
void TForm1::ButtonDeClick() {}
void TForm1::Button_OpenFileClick() {}
void TForm1::CheckBox3IdeaClick() {}
void TForm1::Button_EnCryptClick() {}
void TForm1::Button_DeCryptClick() {}
void TForm1::ButtonGenPasswordClick() {}
