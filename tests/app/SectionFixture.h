// A work of the program's own with eight sections of a 12 m implement, as the section tests
// drive it; a test's end puts section control and the field back as a new program has them.
#pragma once

#include <gtest/gtest.h>

#include <mutex>

#include "app/AppState.h"
#include "app/FieldWork.h"
#include "app/SectionControl.h"
#include "tests/app/PipelineTestSupport.h"

class SectionWorkFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        pipeline_test::resetWork(kStateFreeWork);
        workField = FieldWork{};
        appState.settings.lookAheadSeconds = 0.0;
    }
    void TearDown() override {
        std::lock_guard lock(appState.frameLock);
        configureSections({}, {}, false);
        workField = FieldWork{};
    }

    // Eight equal sections switched by themselves, by these rules.
    void useSections(const SectionRules& rules) {
        LayoutResult layout = parseSectionLayout("", 8, 1200);
        ASSERT_TRUE(layout.layout);
        std::lock_guard lock(appState.frameLock);
        configureSections(*layout.layout, rules, true);
    }
};
