#include "app/form1.h"

void TForm1::TabSheet3Show() {}
void TForm1::ButtonOpenEtalClick() {}
void TForm1::ButtonSaveEtalClick() {}
void TForm1::Memo1Click() {}
void TForm1::MemoOldEtlClick() {}
void TForm1::RadioButtonRusDnClick() {}
void TForm1::RadioButtonRusUpClick() {}
void TForm1::RadioButtonEngDnClick() {}
void TForm1::RadioButtonEndUpClick() {}
void TForm1::ButtonClearEtalonClick() {}
void TForm1::RadioButtonDnClick() {}
void TForm1::RadioButtonUpClick() {}
void TForm1::ButtonStartClick() {}
void TForm1::Button_AllScanClick() {}
void TForm1::Button_AllScanMouseMove(int, int) {}
void TForm1::ButtonSaveResClick() {}
void TForm1::Button_VOknoClick() {}
void TForm1::ButtonNewFileClick() {}
void TForm1::Button_OpenSkitalaFileClick() {}
void TForm1::ButtonEnClick() {}
void TForm1::ButtonDeClick() {}
void TForm1::Button_OpenFileClick() {}
void TForm1::CheckBox3IdeaClick() {}
void TForm1::Button_EnCryptClick() {}
void TForm1::Button_DeCryptClick() {}
void TForm1::ButtonGenPasswordClick() {}
