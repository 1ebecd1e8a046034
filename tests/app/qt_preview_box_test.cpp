#include "app/adapters/qt_preview_box.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <random>

#include "app/adapters/gbk.h"

namespace {

// Bytes that a Qt text box cannot show as they are: a lone LF and a lone CR inside lines (an
// LF-only file imports as one line), bytes that are no GB18030 character, and GBK text.
const std::string kAwkward =
    "[00:01.00]one\ntwo\r\n"
    "\r\n"
    "cr\rinside\r\n"
    "x\x80y\xFF\r\n"
    "q\x81\r\nz\r\n"  // the CR is the second byte of a (malformed) character
    "\xC7\xE0\xBA\xCC\r\n"
    "last\r\n";

}  // namespace

TEST(QtPreviewBoxTest, UnchangedTextComesBackByteForByte) {
  QPlainTextEdit edit;
  app::QtPreviewBox box(&edit);
  box.setText(kAwkward);
  EXPECT_EQ(box.text(), kAwkward);
  box.setText("a\r\n\r\nb\r\n");
  EXPECT_EQ(edit.toPlainText(), QStringLiteral("a\n\nb\n"));
  EXPECT_EQ(box.text(), "a\r\n\r\nb\r\n");
  box.setText("");
  EXPECT_EQ(box.text(), "");
}

TEST(QtPreviewBoxTest, AnEditRewritesOnlyTheLinesItTouches) {
  QPlainTextEdit edit;
  app::QtPreviewBox box(&edit);
  box.setText(kAwkward);

  // Typing at the end of the last line, then a new line with Enter.
  QTextCursor cursor(edit.document());
  cursor.movePosition(QTextCursor::End);
  cursor.movePosition(QTextCursor::PreviousBlock);
  cursor.movePosition(QTextCursor::EndOfBlock);
  cursor.insertText(QStringLiteral("!"));
  cursor.insertBlock();
  cursor.insertText(QStringLiteral("歌"));
  EXPECT_EQ(
      box.text(),
      "[00:01.00]one\ntwo\r\n\r\ncr\rinside\r\nx\x80y\xFF\r\nq\x81\r\nz\r\n\xC7\xE0\xBA\xCC\r\n"
      "last!\r\n\xB8\xE8\r\n");

  // Deleting the first line's tag leaves the other lines' bytes alone.
  cursor.movePosition(QTextCursor::Start);
  cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor, 10);
  cursor.removeSelectedText();
  EXPECT_EQ(box.text(),
            "one\ntwo\r\n\r\ncr\rinside\r\nx\x80y\xFF\r\nq\x81\r\nz\r\n\xC7\xE0\xBA\xCC\r\n"
            "last!\r\n\xB8\xE8\r\n");

  // A whole new text (typed over everything) is encoded with CR LF breaks; a soft line break
  // counts as a break too.
  edit.setPlainText(QStringLiteral("新\nb") + QChar(QChar::LineSeparator) + QStringLiteral("c"));
  EXPECT_EQ(box.text(), "\xD0\xC2\r\nb\r\nc");
}

TEST(QtPreviewBoxTest, TextTakenBackAlwaysReadsAsTheBoxShowsIt) {
  QPlainTextEdit edit;
  app::QtPreviewBox box(&edit);
  box.setText("[00:01.00]\xC7\xE0\xBA\xCC\nab\r\n\r\ncd\ref\r\n\xB8\xE8\xB4\xCA\r\nend");
  const auto shownAsBoxShowsIt = [&] {
    QString text = edit.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
  };
  const auto takenBack = [&] {
    QString text = app::toQString(box.text());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  };
  // Inserts, deletions across pieces and undo, at positions drawn from a fixed seed.
  std::mt19937 random(7);
  const QString inserts[] = {QStringLiteral("x"), QStringLiteral("\n"), QStringLiteral("词"),
                             QString()};
  for (int step = 0; step < 300; ++step) {
    QTextCursor cursor(edit.document());
    const int length = edit.document()->characterCount() - 1;
    const int at = static_cast<int>(random() % static_cast<unsigned>(length + 1));
    const int span = static_cast<int>(random() % 4);
    cursor.setPosition(at);
    cursor.setPosition(std::min(at + span, length), QTextCursor::KeepAnchor);
    if (random() % 5 == 0) {
      edit.undo();
    } else {
      cursor.insertText(inserts[random() % 4]);
    }
    ASSERT_EQ(takenBack(), shownAsBoxShowsIt()) << step;
  }
}
