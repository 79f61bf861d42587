#include "app/MainComponent.h"

#include "support/MessageLoop.h"

#include <gtest/gtest.h>

TEST (PinOverlay, OnlyTheFirstFourAsciiDigitsAreKept)
{
    struct Case
    {
        const char* entered;
        const char* kept;
    };

    const Case cases[] = {
        { "1234", "1234" },
        { "12a3-45", "1234" },
        { " 9 8 7 ", "987" },
        { "\xd9\xa1\xd9\xa2\xd9\xa3\xd9\xa4", "" },                 // Arabic-Indic digits
        { "\xef\xbc\x91\xef\xbc\x92\xef\xbc\x93\xef\xbc\x94", "" }, // full-width digits
        { "12345", "1234" },
        { "", "" },
        { "PIN: 0007!", "0007" },
    };

    for (auto& c : cases)
        EXPECT_EQ (RemotePinOverlay::filterDigits (juce::String (juce::CharPointer_UTF8 (c.entered))), c.kept)
            << c.entered;
}

TEST (PinOverlay, TheFieldFiltersEveryEditIncludingPastesAndInsertions)
{
    MainComponent main;
    auto& editor = main.pinOverlay.pinEditor;
    main.pinOverlay.showForHost();

    editor.insertTextAtCaret ("9a8-7 6 5");
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return editor.getText() == "9876"; }));

    // A digit typed in the middle pushes the last one out.
    editor.setText ("1234", false);
    editor.setCaretPosition (2);
    editor.insertTextAtCaret ("0");
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return editor.getText() == "1203"; }));

    // A second request clears the field and the error.
    main.pinOverlay.errorLabel.setText ("Incorrect PIN. Try again.", juce::dontSendNotification);
    main.pinOverlay.showForHost();
    EXPECT_EQ (editor.getText(), "");
    EXPECT_EQ (main.pinOverlay.errorLabel.getText(), "");
    EXPECT_TRUE (main.pinOverlay.isVisible());
}

TEST (PinOverlay, LayoutCentresTheCardWhateverTheWindow)
{
    auto standard = RemotePinOverlay::computeLayout (1200, 800);
    EXPECT_EQ (standard.card, juce::Rectangle<int> (440, 290, 320, 220));
    EXPECT_EQ (standard.title, juce::Rectangle<int> (20, 20, 280, 28));
    EXPECT_EQ (standard.error, juce::Rectangle<int> (20, 56, 280, 18));
    EXPECT_EQ (standard.editor, juce::Rectangle<int> (20, 82, 280, 44));
    EXPECT_EQ (standard.cancel, juce::Rectangle<int> (20, 142, 134, 36));
    EXPECT_EQ (standard.connect, juce::Rectangle<int> (166, 142, 134, 36));

    EXPECT_EQ (RemotePinOverlay::computeLayout (300, 200).card, juce::Rectangle<int> (-10, -10, 320, 220));
    EXPECT_EQ (RemotePinOverlay::computeLayout (0, 0).card, juce::Rectangle<int> (-160, -110, 320, 220));
}

TEST (PinOverlay, ReturnAndConnectSubmitTheTrimmedTextAndCancelDisconnects)
{
    MainComponent main;
    juce::StringArray submitted;
    main.pinOverlay.onSubmit = [&] (const juce::String& text) { submitted.add (text); };
    main.pinOverlay.showForHost();

    main.pinOverlay.pinEditor.setText ("12", false);
    main.pinOverlay.connectButton.triggerClick();
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return submitted.size() == 1; }));

    main.pinOverlay.pinEditor.setText ("4321", false);
    main.pinOverlay.pinEditor.keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return submitted.size() == 2; }));
    EXPECT_EQ (submitted, (juce::StringArray { "12", "4321" }));
    EXPECT_TRUE (main.pinOverlay.isVisible());

    main.remote = std::make_unique<RemoteConnection>();
    main.remote->client = std::make_shared<RCClient> (main);
    main.pinOverlay.cancelButton.triggerClick();
    ASSERT_TRUE (MessageLoop::runUntil ([&] { return main.remote == nullptr; }));
    EXPECT_FALSE (main.pinOverlay.isVisible());
    EXPECT_EQ (main.statusLabel.getText(), "Status : No Connection");
}

TEST (PinOverlay, TheMainComponentRefusesWrongLengthsWithTheOverlaysErrorLine)
{
    MainComponent main;
    main.pinOverlay.showForHost();
    main.pinOverlay.pinEditor.setText ("123", false);
    main.pinOverlay.connectButton.triggerClick();
    ASSERT_TRUE (
        MessageLoop::runUntil ([&] { return main.pinOverlay.errorLabel.getText() == "Enter a 4-digit PIN."; }));
}
