#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMessageBox::information(nullptr, "QBR20G", "The setup wizard is not built yet.");
  return 0;
}
