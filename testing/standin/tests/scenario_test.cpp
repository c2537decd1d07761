#include "scenario.h"

#include <gtest/gtest.h>

namespace standin {
namespace {

TEST(Scenario, EmptyTextGivesTheDefaultRun) {
    const ParsedScenario parsed = ParseScenario("\xEF\xBB\xBF# only a comment\r\n\r\n   \t\n");
    ASSERT_FALSE(parsed.error);
    const Scenario& scenario = parsed.scenario;
    EXPECT_TRUE(scenario.evergreenPresent);
    EXPECT_TRUE(scenario.fixedPresent);
    EXPECT_EQ(scenario.browserVersion, "144.0.3719.77");
    for (bool offered : scenario.offers) EXPECT_TRUE(offered);
    EXPECT_FALSE(scenario.environmentResult);
    EXPECT_FALSE(scenario.controllerResult);
    EXPECT_EQ(scenario.tickMs, 10u);
    EXPECT_TRUE(scenario.steps.empty());
}

TEST(Scenario, KnobsSetTheRuntimeAndTheOffers) {
    const ParsedScenario parsed = ParseScenario(
        "runtime fixed absent\n"
        "offer settings8 off\n"
        "offer environment5 off\n"
        "offer webview23 off\n"
        "offer webview23 on\n"
        "environment-result E_ACCESSDENIED\n"
        "controller-result 0x80004005\n"
        "tick 25\n"
        "browser-version 120.0.1\n");
    ASSERT_FALSE(parsed.error) << parsed.error->message;
    const Scenario& scenario = parsed.scenario;
    EXPECT_TRUE(scenario.evergreenPresent);
    EXPECT_FALSE(scenario.fixedPresent);
    EXPECT_FALSE(scenario.Offers(Offer::Settings8));
    EXPECT_FALSE(scenario.Offers(Offer::Environment5));
    EXPECT_TRUE(scenario.Offers(Offer::WebView23));
    EXPECT_TRUE(scenario.Offers(Offer::Settings3));
    ASSERT_TRUE(scenario.environmentResult);
    EXPECT_EQ(static_cast<std::uint32_t>(*scenario.environmentResult), 0x80070005u);
    ASSERT_TRUE(scenario.controllerResult);
    EXPECT_EQ(static_cast<std::uint32_t>(*scenario.controllerResult), 0x80004005u);
    EXPECT_EQ(scenario.tickMs, 25u);
    EXPECT_EQ(scenario.browserVersion, "120.0.1");
    EXPECT_TRUE(scenario.steps.empty());
}

TEST(Scenario, StepsKeepTheirOrderLinesAndArguments) {
    const ParsedScenario parsed = ParseScenario(
        "dom-content-loaded\n"
        "# comment between steps\n"
        "title   Two  words here  \n"
        "wait 250\n"
        "fullscreen 1\n"
        "accelerator 0x7B\n"
        "accelerator 18 system-key-up\n"
        "permission camera https://app.localhost/\n"
        "permission 12 https://other/\n"
        "message https://app.localhost/index.html {\"type\": \"wrapper-init\"}\n"
        "message-json https://app.localhost/ [1, 2]\n"
        "navigate https://example.com/a%20b\n"
        "new-window https://example.com/\n"
        "title\n"
        "record-window\n"
        "window-close-requested\n"
        "close-window\n"
        "end-session\n");
    ASSERT_FALSE(parsed.error) << parsed.error->message;
    const std::vector<Step>& steps = parsed.scenario.steps;
    ASSERT_EQ(steps.size(), 17u);

    EXPECT_EQ(steps[0].kind, StepKind::DomContentLoaded);
    EXPECT_EQ(steps[0].line, 1);
    EXPECT_EQ(steps[1].kind, StepKind::Title);
    EXPECT_EQ(steps[1].line, 3);
    EXPECT_EQ(steps[1].text, "Two  words here  ");
    EXPECT_EQ(steps[2].number, 250);
    EXPECT_EQ(steps[3].number, 1);
    EXPECT_EQ(steps[4].number, 0x7B);
    EXPECT_EQ(steps[4].number2, 0);  // key-down
    EXPECT_EQ(steps[5].number, 18);
    EXPECT_EQ(steps[5].number2, 3);
    EXPECT_EQ(steps[6].number, 2);  // camera
    EXPECT_EQ(steps[6].uri, "https://app.localhost/");
    EXPECT_EQ(steps[7].number, 12);
    EXPECT_EQ(steps[8].kind, StepKind::Message);
    EXPECT_EQ(steps[8].uri, "https://app.localhost/index.html");
    EXPECT_EQ(steps[8].text, "{\"type\": \"wrapper-init\"}");
    EXPECT_EQ(steps[9].kind, StepKind::MessageJson);
    EXPECT_EQ(steps[9].text, "[1, 2]");
    EXPECT_EQ(steps[10].uri, "https://example.com/a%20b");  // plain form: not decoded
    EXPECT_EQ(steps[11].kind, StepKind::NewWindow);
    EXPECT_EQ(steps[12].kind, StepKind::Title);
    EXPECT_EQ(steps[12].text, "");
    EXPECT_EQ(steps[15].kind, StepKind::CloseWindow);
    EXPECT_EQ(steps[15].line, 17);
    EXPECT_STREQ(StepKeyword(steps[13].kind), "record-window");
    EXPECT_STREQ(StepKeyword(steps[14].kind), "window-close-requested");
    EXPECT_STREQ(StepKeyword(steps[16].kind), "end-session");
}

TEST(Scenario, RequestHeadersStartAtEachWordEndingInAColon) {
    const ParsedScenario parsed = ParseScenario(
        "request GET https://app.localhost/v.mp4 Range: bytes=0-99 Accept: text/html,  */* X-Empty:\n"
        "request POST https://app.localhost/\n");
    ASSERT_FALSE(parsed.error) << parsed.error->message;
    const Step& step = parsed.scenario.steps.at(0);
    EXPECT_EQ(step.text, "GET");
    EXPECT_EQ(step.uri, "https://app.localhost/v.mp4");
    ASSERT_EQ(step.headers.size(), 3u);
    EXPECT_EQ(step.headers[0].name, "Range");
    EXPECT_EQ(step.headers[0].value, "bytes=0-99");
    EXPECT_EQ(step.headers[1].name, "Accept");
    EXPECT_EQ(step.headers[1].value, "text/html,  */*");
    EXPECT_EQ(step.headers[2].name, "X-Empty");
    EXPECT_EQ(step.headers[2].value, "");
    EXPECT_TRUE(parsed.scenario.steps.at(1).headers.empty());
}

TEST(Scenario, EscapedFormDecodesEachArgumentAfterSplitting) {
    const ParsedScenario parsed = ParseScenario(
        "title% Two%0Alines %25 100%\n"
        "message% https://app.localhost/a%20b %20{\"k\":\"%zz\"}\n"
        "request% GET https://app.localhost/x%20y.txt Range: bytes=0-1 X-Note: a%3A b\n"
        "navigate% https://app.localhost/%41\n");
    ASSERT_FALSE(parsed.error) << parsed.error->message;
    const std::vector<Step>& steps = parsed.scenario.steps;
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0].text, "Two\nlines % 100%");
    EXPECT_EQ(steps[1].uri, "https://app.localhost/a b");
    EXPECT_EQ(steps[1].text, " {\"k\":\"%zz\"}");
    EXPECT_EQ(steps[2].uri, "https://app.localhost/x y.txt");
    ASSERT_EQ(steps[2].headers.size(), 2u);
    EXPECT_EQ(steps[2].headers[1].name, "X-Note");
    EXPECT_EQ(steps[2].headers[1].value, "a: b");
    EXPECT_EQ(steps[3].uri, "https://app.localhost/A");
}

TEST(Scenario, RepeatTakesTheFollowingStepsAsItsBlock) {
    const ParsedScenario parsed = ParseScenario(
        "dom-content-loaded\n"
        "repeat 25000 3\n"
        "message https://app.localhost/ {\"n\":1}\n"
        "# comments and knobs inside the block are not steps\n"
        "tick 5\n"
        "message-json https://app.localhost/ [2]\n"
        "record-window\n"
        "repeat 0x10\n"
        "title%  a%20b\n"
        "close-window\n");
    ASSERT_FALSE(parsed.error) << parsed.error->message;
    EXPECT_EQ(parsed.scenario.tickMs, 5u);
    const std::vector<Step>& steps = parsed.scenario.steps;
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0].kind, StepKind::DomContentLoaded);

    const Step& burst = steps[1];
    EXPECT_EQ(burst.kind, StepKind::Repeat);
    EXPECT_STREQ(StepKeyword(burst.kind), "repeat");
    EXPECT_EQ(burst.line, 2);
    EXPECT_EQ(burst.number, 25000);
    ASSERT_EQ(burst.block.size(), 3u);
    EXPECT_EQ(burst.block[0].kind, StepKind::Message);
    EXPECT_EQ(burst.block[0].text, "{\"n\":1}");
    EXPECT_EQ(burst.block[0].line, 3);
    EXPECT_EQ(burst.block[1].kind, StepKind::MessageJson);
    EXPECT_EQ(burst.block[1].line, 6);
    EXPECT_EQ(burst.block[2].kind, StepKind::RecordWindow);

    // Without a step count the block is the one next step.
    const Step& single = steps[2];
    EXPECT_EQ(single.number, 16);
    ASSERT_EQ(single.block.size(), 1u);
    EXPECT_EQ(single.block[0].text, "a b");
    EXPECT_EQ(steps[3].kind, StepKind::CloseWindow);
    EXPECT_EQ(steps[3].line, 10);
    EXPECT_TRUE(steps[3].block.empty());
}

TEST(Scenario, ErrorsNameTheFirstBadLine) {
    struct Case {
        const char* text;
        int line;
    };
    const Case cases[] = {
        {"dom-content-loaded\n\nexplode now\n", 3},
        {"wait\n", 1},
        {"wait soon\n", 1},
        {"fullscreen 2\n", 1},
        {"accelerator 300\n", 1},
        {"accelerator 65 sideways\n", 1},
        {"permission teleport https://x/\n", 1},
        {"navigate\n", 1},
        {"navigate https://a/ https://b/\n", 1},
        {"record-window now\n", 1},
        {"request GET\n", 1},
        {"request GET https://x/ stray Range: bytes=0-1\n", 1},
        {"runtime nightly absent\n", 1},
        {"runtime fixed maybe\n", 1},
        {"offer settings9 off\n", 1},
        {"environment-result E_WHATEVER\n", 1},
        {"tick 0\n", 1},
        {"title ok\r\nmessage\r\n", 2},
        {"repeat\ntitle\n", 1},
        {"repeat 0\ntitle\n", 1},
        {"repeat 10000001\ntitle\n", 1},
        {"repeat 5 0\ntitle\n", 1},
        {"repeat 5 1 2\ntitle\n", 1},
        {"repeat 5 2\ntitle\nwait 10\n", 3},
        {"repeat 5\nrepeat 2\ntitle\n", 2},
        // The block runs past the end: the repeat is the bad line.
        {"title\nrepeat 5 3\ntitle\n# one short\ntitle\n", 2},
        {"repeat 5\n", 1},
    };
    for (const Case& bad : cases) {
        const ParsedScenario parsed = ParseScenario(bad.text);
        ASSERT_TRUE(parsed.error) << bad.text;
        EXPECT_EQ(parsed.error->line, bad.line) << bad.text;
        EXPECT_FALSE(parsed.error->message.empty());
    }
}

}  // namespace
}  // namespace standin
