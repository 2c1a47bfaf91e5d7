#include "analysis/size_notice.h"
#include "app/form1.h"
#include "io/whole_file.h"

void TForm1::Button2Click() {
    MemoFile.clear();
    OpenDialog1.title = tr("Выбор исследуемого файла", "Choice of the under investigation file");
    // A dismissed dialog keeps its last name, which then is opened again.
    OpenDialog1.execute();
    const std::string name = OpenDialog1.fileName;
    if (name.empty()) return;
    MemoFile.addLine(name);
    const std::uint64_t size = varn::io::TakeSize(name);
    if (size >= varn::kDisplayLimit) {
        MemoSourceFile.setText(varn::SizeNotice(size, russian()));
    } else {
        MemoSourceFile.loadFromFile(name);
    }
}
