#include "app/adapters/qt_preview_box.h"

#include <QPlainTextEdit>
#include <QTextDocument>
#include <algorithm>

#include "app/adapters/gbk.h"
#include "lyrics/text_rules.h"

namespace app {

namespace {

// A Qt text box knows only paragraphs: CR LF, a lone CR and a lone LF all show as "\n".
QString withParagraphBreaks(QString text) {
  // Only a malformed character swallowing a CR or LF as its second byte leaves one in a piece.
  if (!text.contains(QLatin1Char('\r'))) return text;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

// Text the user typed or changed, as bytes with CR LF breaks (a soft line break is one too).
std::string editedBytes(QString text) {
  text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
  text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
  return toGbk(text);
}

}  // namespace

QtPreviewBox::QtPreviewBox(QPlainTextEdit* box) : m_box(box) {
  m_changes = QObject::connect(
      m_box->document(), &QTextDocument::contentsChange, m_box,
      [this](int position, int removed, int added) { contentsChanged(position, removed, added); });
}

QtPreviewBox::~QtPreviewBox() { QObject::disconnect(m_changes); }

int QtPreviewBox::top() const { return m_box->y(); }

void QtPreviewBox::move(int left, int top) { m_box->move(left, top); }

bool QtPreviewBox::isEnabled() const { return m_box->isEnabled(); }

void QtPreviewBox::setEnabled(bool enabled) { m_box->setEnabled(enabled); }

qsizetype QtPreviewBox::documentLength() const { return m_box->document()->characterCount() - 1; }

void QtPreviewBox::setText(const std::string& text) {
  // The box cannot hold a lone CR or LF, nor bytes that are no character. The text is cut into
  // pieces that remember their bytes, so that text taken back unchanged is the same bytes.
  std::vector<Segment> segments;
  QString shown;
  const auto addPiece = [&](std::size_t begin, std::size_t end, const QString& pieceShown) {
    shown += pieceShown;
    segments.push_back({pieceShown.size(), false, begin, end});
  };
  std::size_t start = 0;
  std::size_t pos = 0;
  const std::string_view bytes(text);
  while (pos < bytes.size()) {
    const char byte = bytes[pos];
    if (byte != '\r' && byte != '\n') {
      pos += lyrics::charWidthAt(bytes, pos);
      continue;
    }
    if (pos > start) {
      addPiece(start, pos, withParagraphBreaks(toQString(bytes.substr(start, pos - start))));
    }
    const std::size_t breakEnd = bytes.compare(pos, 2, "\r\n") == 0 ? pos + 2 : pos + 1;
    addPiece(pos, breakEnd, QStringLiteral("\n"));
    start = pos = breakEnd;
  }
  if (pos > start) addPiece(start, pos, withParagraphBreaks(toQString(bytes.substr(start))));

  m_box->setPlainText(shown);
  m_givenBytes = text;
  m_segments = std::move(segments);
  m_length = documentLength();
}

void QtPreviewBox::contentsChanged(int position, int removed, int added) {
  Q_UNUSED(added);
  // The document's own lengths are trusted over the reported counts, which may include the
  // closing paragraph of the document.
  const qsizetype oldLength = m_length;
  m_length = documentLength();
  const qsizetype from = position;
  const qsizetype to = std::clamp<qsizetype>(from + removed, from, std::max(from, oldLength));

  // The segments the change overlaps; an insertion exactly between two of them touches neither.
  qsizetype start = 0;
  auto first = m_segments.begin();
  while (first != m_segments.end() && start + first->length <= from) {
    start += first->length;
    ++first;
  }
  auto last = first;
  qsizetype touched = 0;
  while (last != m_segments.end() && start + touched < to) {
    touched += last->length;
    ++last;
  }
  const qsizetype length = touched + (m_length - oldLength);
  const auto at = m_segments.erase(first, last);
  if (length > 0) m_segments.insert(at, Segment{length, true, 0, 0});
}

bool QtPreviewBox::edited() const {
  // setPlainText() leaves the document unmodified; typing, pasting and deleting modify it.
  return m_box->document()->isModified();
}

std::string QtPreviewBox::text() const {
  const QString current = m_box->document()->toRawText();
  qsizetype total = 0;
  for (const Segment& segment : m_segments) total += segment.length;
  // A document this class did not follow (it never does otherwise) is taken as typed.
  if (total != current.size() || m_length != current.size()) return editedBytes(current);

  std::string bytes;
  bytes.reserve(m_givenBytes.size());
  qsizetype offset = 0;
  for (const Segment& segment : m_segments) {
    if (segment.edited) {
      bytes += editedBytes(current.mid(offset, segment.length));
    } else {
      bytes.append(m_givenBytes, segment.bytesBegin, segment.bytesEnd - segment.bytesBegin);
    }
    offset += segment.length;
  }
  return bytes;
}

}  // namespace app
