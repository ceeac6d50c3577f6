#include "anim/Ka7AnimScript.h"
#include "anim/Ka7AnimScriptCommands.h"
#include "anim/Ka7AnimScriptList.h"
#include "runtime/Errors.h"

#include <gmock/gmock.h>

#include <cmath>
#include <numbers>

namespace ra7 {
namespace {

using ::testing::ElementsAre;

// What the player handed to the commands, recorded per call.
struct Call {
    std::string obj;
    float step;
};
std::vector<Call> calls;

void recordCall(const std::string& obj, const std::string&, Vector3&, Vector3&, Vector3&, float, float step)
{
    calls.push_back({obj, step});
}

// A rewound, playing script whose commands report to `calls` instead of the scene.
KaAnimScript recordingScript(const std::vector<std::string>& lines)
{
    KaAnimScript script;
    script.LoadFromStrings(lines);
    for (KaAnimCom& command : script.Commands)
        command.Proc = recordCall;
    script.Reset();
    script.Play();
    calls.clear();
    return script;
}

float totalStep(const std::string& obj)
{
    float sum = 0;
    for (const Call& call : calls)
        if (call.obj == obj)
            sum += call.step;
    return sum;
}

TEST(AnimParsing, ACommandLineGivesTimeCommandObjectVectorsAndDuration)
{
    const KaAnimCom c = ParseAnimLine("12 move box (1;2;3) (4;5;6) (7;8;9) t:10");
    EXPECT_EQ(c.Time, 12);
    EXPECT_EQ(c.Command, "move");
    EXPECT_EQ(c.ObjName, "box");
    EXPECT_EQ(c.Vec1, (Vector3{1, 2, 3}));
    EXPECT_EQ(c.Vec2, (Vector3{4, 5, 6}));
    EXPECT_EQ(c.Vec3, (Vector3{7, 8, 9}));
    EXPECT_EQ(c.Length, 10);
    EXPECT_EQ(c.TimeLeft, 10.0f);
    EXPECT_EQ(c.Proc, FindAnimCommand("move"));
}

TEST(AnimParsing, NamesKeepTheirDotsAndNumbersTakeEitherSeparator)
{
    const KaAnimCom c = ParseAnimLine("0 move CUBE.001 (0.5;0,25;-1.5e1) t:10");
    EXPECT_EQ(c.ObjName, "CUBE.001");
    EXPECT_EQ(c.Vec1, (Vector3{0.5f, 0.25f, -15.0f}));
    EXPECT_EQ(ParseAnimLine("0 move box (1;0;0) t:10.5").Length, 0) << "a duration is a whole number";
    EXPECT_EQ(ParseAnimLine("0.5 move box (1;0;0) t:10").Command, "") << "so is a start time";
}

TEST(AnimParsing, VectorsFillFromTheLeftAndMissingPartsAreZero)
{
    std::string text = "(5)";
    EXPECT_EQ(ParseAnimVector(text), (Vector3{0, 0, 5}));
    text = "(1;x;3) rest";
    EXPECT_EQ(ParseAnimVector(text), (Vector3{1, 0, 3}));
    EXPECT_EQ(text, " rest");
    text = "no vector";
    EXPECT_EQ(ParseAnimVector(text), (Vector3{}));
    EXPECT_EQ(text, "no vector");
    text = "(1;2";
    EXPECT_EQ(ParseAnimVector(text), (Vector3{1, 0, 0}));
}

TEST(AnimParsing, TheDurationTailIsCaseInsensitiveAndStrict)
{
    EXPECT_EQ(ParseAnimLine("5 move box (1;0;0) T:10").Length, 10);
    EXPECT_EQ(ParseAnimLine("5 move box (1;0;0) t:10x").Length, 0);
    EXPECT_EQ(ParseAnimLine("5 move box (1;0;0)").Length, 0);
    EXPECT_EQ(ParseAnimLine("5 move box t:7").Length, 7);
}

TEST(AnimParsing, LinesThatAreNotCommandsAreDropped)
{
    EXPECT_TRUE(ParseAnimLine("5 Move box (1;0;0) t:10").Command.empty()); // case matters
    EXPECT_TRUE(ParseAnimLine("-1 move box (1;0;0) t:10").Command.empty());
    EXPECT_TRUE(ParseAnimLine("x move box (1;0;0) t:10").Command.empty());
    EXPECT_TRUE(ParseAnimLine("0 call Name").Command.empty());
    EXPECT_TRUE(ParseAnimLine("move").Command.empty()); // no space
    EXPECT_EQ(ParseAnimLine("-3 move box (1;0;0) t:10").Time, -3);
}

TEST(AnimParsing, ShortLinesKeepTheCommandWithWhatTheyHave)
{
    const KaAnimCom bare = ParseAnimLine("0 deattach");
    EXPECT_EQ(bare.Command, "deattach");
    EXPECT_EQ(bare.ObjName, "");
    EXPECT_EQ(ParseAnimLine("0 setvisible   lamp").ObjName, "lamp");
}

TEST(AnimParsing, AttachAndParsettexTakeASecondName)
{
    const KaAnimCom attach = ParseAnimLine("0 attach obj1 obj2 (1;1;1) t:5");
    EXPECT_EQ(attach.ObjName2, "obj2");
    EXPECT_EQ(attach.Vec1, (Vector3{}));
    EXPECT_EQ(attach.Length, 0);
    EXPECT_EQ(ParseAnimLine("0 parsettex par data\\fire.png").ObjName2, "data\\fire.png");
}

TEST(AnimParsing, ScriptTextNamesTheScriptAndSortsStably)
{
    KaAnimScript script;
    script.Name = "kept";
    script.LoadFromStrings({"", "  [walk]  ", "5 setvisible b", "garbage", "0 setvisible a",
                            "5 setinvisible c", "[run", "5 setvisible d"});
    EXPECT_EQ(script.Name, "ru");
    std::vector<std::string> order;
    for (const KaAnimCom& c : script.Commands)
        order.push_back(c.ObjName);
    EXPECT_THAT(order, ElementsAre("a", "b", "c", "d"));

    KaAnimScript unnamed;
    unnamed.Name = "kept";
    unnamed.LoadFromStrings({"0 setvisible a"});
    EXPECT_EQ(unnamed.Name, "kept");
}

TEST(AnimTiming, AMoveReceivesExactlyItsDurationWhateverTheFrames)
{
    for (float frame : {16.0f, 33.3f, 100.0f, 7.0f, 250.0f}) {
        KaAnimScript script = recordingScript({"0 move box (1;0;0) t:10"});
        for (int i = 0; i < 200; ++i)
            script.Advance(frame);
        EXPECT_NEAR(totalStep("box"), 10.0f, 1e-4f) << frame;
        EXPECT_EQ(script.StackCount(), 0);
    }
}

TEST(AnimTiming, AFrameLongerThanTheCommandGivesOnlyWhatWasDue)
{
    KaAnimScript script = recordingScript({"0 move box (1;0;0) t:3"});
    script.Advance(1000); // 10 time units in one frame
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_FLOAT_EQ(calls[0].step, 3.0f);
    script.Advance(1000);
    EXPECT_EQ(calls.size(), 1u);
}

TEST(AnimTiming, CommandsWithoutDurationRunOnceWithStepZero)
{
    KaAnimScript script = recordingScript({"0 setvisible lamp"});
    script.Advance(20);
    script.Advance(20);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].step, 0.0f);
}

TEST(AnimTiming, CommandsStartOnceAndNeverWhenTheClockIsPast)
{
    // Rounded clock: 0 stays 0 for several 20 ms frames; the command must not restart.
    KaAnimScript script =
        recordingScript({"-3 setvisible never", "0 setvisible a", "0 setvisible b", "2 setvisible c"});
    for (int i = 0; i < 20; ++i)
        script.Advance(20);
    std::vector<std::string> order;
    for (const Call& call : calls)
        order.push_back(call.obj);
    EXPECT_THAT(order, ElementsAre("b", "a", "c")); // the stack runs from its top
    EXPECT_EQ(script.PosInCom, 4);
}

TEST(AnimTiming, AJumpOverACommandsTimeStillStartsItButNotOnesBehindTheClock)
{
    KaAnimScript script = recordingScript({"1 setvisible skipped", "3 setvisible jumped"});
    script.Position = 2; // as if paused and moved past the first command
    script.Advance(300); // clock 2 -> 5
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].obj, "jumped");
}

TEST(AnimTiming, PauseKeepsTheClockAndRunningCommands)
{
    KaAnimScript script = recordingScript({"0 move box (1;0;0) t:10"});
    script.Advance(200);
    script.Pause();
    AnimList = std::make_unique<KaAnimList>();
    AnimList->Add(script);
    AnimList->Update(500); // paused: nothing runs
    EXPECT_EQ(AnimList->Get(0).Position, script.Position);
    AnimList->Get(0).Play();
    AnimList->Update(2000);
    EXPECT_NEAR(totalStep("box"), 10.0f, 1e-5f);
    AnimList.reset();
}

TEST(AnimTiming, RemovingFromTheStackMovesTheLastEntry)
{
    KaAnimScript script;
    script.PushCommand(4);
    script.PushCommand(7);
    script.PushCommand(9);
    script.RemoveFromStack(0);
    EXPECT_THAT(script.Stack, ElementsAre(9, 7));
    EXPECT_THROW(script.RemoveFromStack(2), Error);
}

TEST(AnimTiming, RoundingTakesHalvesToEven)
{
    EXPECT_EQ(RoundHalfEven(0.5f), 0);
    EXPECT_EQ(RoundHalfEven(1.5f), 2);
    EXPECT_EQ(RoundHalfEven(2.5f), 2);
    EXPECT_EQ(RoundHalfEven(-0.5f), 0);
    EXPECT_EQ(RoundHalfEven(-1.5f), -2);
    EXPECT_EQ(RoundHalfEven(2.6f), 3);
    EXPECT_EQ(RoundHalfEven(-1.0f), -1);
}

TEST(AnimList, AddCopiesOnceByNameAndMarksChanged)
{
    KaAnimList list;
    KaAnimScript walk;
    walk.Name = "walk";
    list.Add(walk);
    walk.Speed = 1;
    list.Add(walk);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Get(0).Speed, 0.0f); // the first copy stays
    EXPECT_TRUE(list.TakeChanged());
    EXPECT_FALSE(list.TakeChanged());
    EXPECT_THROW(list.Get(1), Error);
    list.Clear();
    EXPECT_TRUE(list.TakeChanged());
}

TEST(AnimCommands, TheTableHoldsTheTwentyNamesInOrder)
{
    std::vector<std::string> names;
    for (const AnimCommandEntry& entry : AnimCommands())
        names.emplace_back(entry.Command);
    EXPECT_THAT(names,
                ElementsAre("move", "rotate", "scale", "attach", "deattach", "setvisible", "setinvisible",
                            "paraddminmaxlife", "paraddminmaxspeed", "paraddminmaxsize",
                            "paraddspread_sizeadd", "paraddcolor", "parsetminmaxlife", "parsetminmaxspeed",
                            "parsetminmaxsize", "parsetspread_sizeadd", "parsetcolor", "parsetvec",
                            "parsettex", "parsetcount"));
}

TEST(AnimCommands, RotationFromAnglesIsZThenYThenX)
{
    const float a = 0.3f, b = -1.1f, c = 2.0f;
    const Matrix3 expected = MatrixMultiply3(MatrixMultiply3(RotationZ(c), RotationY(b)), RotationX(a));
    const Matrix3 got = RotationFromAngles({a, b, c});
    for (std::size_t i = 0; i < 9; ++i)
        EXPECT_NEAR(got[i], expected[i], 1e-6f) << i;
    // The written-out first row.
    EXPECT_NEAR(got[1], std::sin(a) * std::sin(b) * std::cos(c) + std::cos(a) * std::sin(c), 1e-6f);
}

} // namespace
} // namespace ra7
