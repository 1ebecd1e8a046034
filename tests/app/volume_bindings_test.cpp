#include "app/bindings/volume_bindings.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QSlider>
#include <QStatusBar>
#include <memory>

#include "app/editor_app.h"
#include "app/window/main_window.h"
#include "playback/pulse/pulse_master_volume.h"
#include "support/fake_master_volume.h"
#include "support/fake_services.h"
#include "support/pulse_sink.h"

using platform::MasterVolume;

namespace {

class VolumeBindingsTest : public ::testing::Test {
 protected:
  // An editor started with `mixer` as its master volume (null: the real one).
  app::EditorApp& start(MasterVolume* mixer) {
    if (!mixer) {
      m_realMixer = std::make_unique<playback::PulseMasterVolume>();
      mixer = m_realMixer.get();
    }
    m_harness.masterVolume = mixer;
    return m_harness.start();
  }

  QLabel* speaker() const {
    return m_editor->window().control<QLabel>(QStringLiteral("图片框_声音控制"));
  }
  QLabel* positionLabel() const {
    return m_editor->window().control<QLabel>(QStringLiteral("标签_右1"));
  }

  void moveOverSpeaker(QPoint pos) {
    QMouseEvent event(QEvent::MouseMove, QPointF(pos), speaker()->mapToGlobal(QPointF(pos)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(speaker(), &event);
  }

  testsupport::FakeMasterVolume m_mixer;
  std::unique_ptr<platform::MasterVolume> m_realMixer;
  testsupport::EditorHarness m_harness;
  std::unique_ptr<app::EditorApp>& m_editor = m_harness.editor;
  testsupport::RecordingPrompter& m_prompter = m_harness.prompter;
};

}  // namespace

TEST_F(VolumeBindingsTest, StartUpShowsTheMasterVolumeAndTheSliderSetsIt) {
  m_mixer.channels = {20000, 40000};
  app::MainWindow& window = start(&m_mixer).window();
  QSlider* slider = window.volumeSlider();
  EXPECT_EQ(m_mixer.binds, 1);
  EXPECT_EQ(slider->value(), 46);
  EXPECT_EQ(positionLabel()->text(), QStringLiteral("46"));
  EXPECT_TRUE(m_mixer.sets.empty()) << "showing the start value wrote the volume";

  slider->setValue(50);
  EXPECT_EQ(positionLabel()->text(), QStringLiteral("50"));
  EXPECT_EQ(m_mixer.channels, (MasterVolume::Channels{32767, 32767}));
  // The user's own steps: a page is 5, a line 1.
  slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(positionLabel()->text(), QStringLiteral("55"));
  slider->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(positionLabel()->text(), QStringLiteral("54"));
  EXPECT_EQ(m_mixer.channels, (MasterVolume::Channels{35388, 35388}));
  slider->setValue(100);
  EXPECT_EQ(m_mixer.channels, (MasterVolume::Channels{65535, 65535}));
  EXPECT_EQ(m_mixer.sets.size(), 4u);
  EXPECT_TRUE(m_prompter.shown.empty());
}

TEST_F(VolumeBindingsTest, MovesStrictlyInsideTheSpeakerPictureShowThePanel) {
  app::EditorApp& editor = start(&m_mixer);
  QGroupBox* panel = editor.window().volumePanel();
  editor.window().show();
  struct Move {
    QPoint pos;
    bool shows;
  };
  const Move moves[] = {{{0, 12}, false}, {{12, 0}, false},  {{0, 0}, false},
                        {{1, 1}, true},   {{12, 12}, true},  {{23, 23}, true},
                        {{23, 1}, true},  {{24, 12}, false}, {{12, 24}, false}};
  for (const Move& move : moves) {
    SCOPED_TRACE(QStringLiteral("%1,%2").arg(move.pos.x()).arg(move.pos.y()).toStdString());
    panel->hide();
    moveOverSpeaker(move.pos);
    EXPECT_EQ(panel->isVisible(), move.shows);
  }
  // Once up, the panel lies over the status bar, and the window's rule takes it down again.
  panel->hide();
  moveOverSpeaker({12, 12});
  QWidget* client = editor.window().clientArea();
  QWidget* under = client->childAt(300, 530);
  ASSERT_NE(under, nullptr);
  EXPECT_TRUE(under == panel || panel->isAncestorOf(under)) << under->objectName().toStdString();
  emit editor.window().surfaceMouseMoved({300, 620});
  EXPECT_FALSE(panel->isVisible());
}

TEST_F(VolumeBindingsTest, SpeakerPictureIsOnTopAndLeavesTheStatusTextFree) {
  app::EditorApp& editor = start(&m_mixer);
  QLabel* picture = speaker();
  EXPECT_EQ(picture->geometry(), QRect(7, 531, 24, 24));
  // It reaches into the status bar's rectangle, and gets the pointer there too.
  EXPECT_EQ(editor.window().clientArea()->childAt(12, 536), picture);
  const QImage image = picture->pixmap().toImage();
  ASSERT_EQ(image.size(), QSize(24, 24) * picture->devicePixelRatioF());
  int inkAbove = 0;
  int inkBelow = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(image.pixel(x, y)) == 0) continue;
      // The rows over the status bar's text are left clear.
      (y < 6 * picture->devicePixelRatioF() ? inkAbove : inkBelow)++;
    }
  }
  EXPECT_EQ(inkAbove, 0);
  EXPECT_GT(inkBelow, 60);
}

// The real sound server: start-up reads its default sink, the slider writes it.
TEST_F(VolumeBindingsTest, TheSliderSetsTheRealMasterVolume) {
  testsupport::SinkVolumeGuard guard;
  if (!guard.serverReachable()) GTEST_SKIP() << "no PulseAudio server answers pactl";
  ASSERT_TRUE(testsupport::setDefaultSinkVolume({20000, 40000}));
  app::MainWindow& window = start(nullptr).window();
  EXPECT_EQ(window.volumeSlider()->value(), 46);
  EXPECT_EQ(positionLabel()->text(), QStringLiteral("46"));
  window.volumeSlider()->setValue(50);
  const std::vector<std::uint32_t> half{32768, 32768};
  EXPECT_EQ(testsupport::awaitDefaultSinkVolume(half), half)
      << "waited 3 s for the sink to take half of its full volume";
  EXPECT_EQ(positionLabel()->text(), QStringLiteral("50"));
}
