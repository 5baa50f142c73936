#include "playback/FluidSynthPlayer.h"
#include "playback/Performance.h"
#include "playback/SoundAnalysis.h"
#include "sheet/Bar.h"

#include <gtest/gtest.h>

namespace fretloom {
namespace {

using namespace Qt::StringLiterals;
using namespace fretloom::testing;

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

// The bytes Play plays, rendered by the synthesizer into samples instead of a sound card: a chord,
// then single notes on other strings, each on a pitch not yet ringing, in a bar as Enter writes it.
TEST(Synthesizer, SoundsABarAtItsPitchesAndTimesWithoutASoundCard) {
    Grid grid;
    grid.cell(Row::e, 1) = u"0"_s;
    grid.cell(Row::b, 1) = u"1"_s;
    grid.cell(Row::g, 1) = u"2"_s;
    grid.cell(Row::d, 3) = u"2"_s;
    grid.cell(Row::e, 5) = u"3"_s;
    grid.cell(Row::a, 7) = u"3"_s;
    grid.cell(Row::b, 9) = u"3"_s;
    const QString bar = commitBar(grid, standardCaptions(), u"Convert to bass"_s);

    const std::optional<RenderedSound> rendered = renderOffline(performTab(bar, 100).midiFile);
    ASSERT_TRUE(rendered) << "no synthesizer or no SoundFont; tools/setup installs both";
    // A cell is a sixteenth note: 0.15 s at 100 beats a minute.
    const std::vector<HeardNote> notes = {{0.0, 64}, {0.0, 60}, {0.0, 57}, {0.3, 52},
                                          {0.6, 67}, {0.9, 48}, {1.2, 62}};
    const Sound sound{rendered->sampleRate, rendered->samples};
    EXPECT_EQ(joined(mismatches(sound, notes)), "");
}

TEST(Synthesizer, WithoutTheLibraryNamesThePackageToInstall) {
    SoundSetup setup;
    setup.library = u"fretloom-no-such-synthesizer"_s;
    FluidSynthPlayer player(setup);
    const std::optional<SoundProblem> problem = player.play(performTab(u""_s, 100).midiFile);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->kind, SoundProblem::Kind::NoSynthesizer);
    EXPECT_TRUE(problem->message.contains(u"Install the package libfluidsynth3"_s));
    EXPECT_EQ(player.position(), -1);
    EXPECT_FALSE(renderOffline({}, setup));
}

}  // namespace
}  // namespace fretloom
