#pragma once

// The numbered message table: every French text the program shows comes from here.
//
// Texts may hold the markers "|1", "|2" and "|3", which callers fill through LoadMessage's
// marker/replacement pairs. The table is compiled into the program and has one language.

#include <QList>
#include <QString>

#include <initializer_list>
#include <stdexcept>

namespace app {

// The application title used in every window title.
inline constexpr char16_t ApplicationTitle[] = u"Pictelle";

// Names of the message numbers the code uses; the numbers are those of the table.
enum class MessageId : int {
    AuthorAddress = 100,        // the maintainer's address in the about box; may be empty
    ScanTitle = 101,            // progress window title
    MstsPathTitle = 102,        // simulator folder dialog title
    PleaseWait = 103,           // first line of the progress window
    Quit = 104,                 // main window's quit button
    AboutProgram = 105,         // main window's about button
    MainTitle = 106,            // main window title
    Create = 107,               // main window's create button
    Loading = 108,              // second line of the progress window
    AboutCanvas = 109,          // about the rendering canvas control
    LocomotivePass = 110,       // scan step: locomotive files
    WagonPass = 111,            // scan step: wagon files
    SelectedFile = 112,         // status line: the selected file
    SelectedFiles = 113,        // status line: how many files are selected
    Cancel = 114,               // cancel buttons
    AboutTitle = 117,           // about box title
    SystemInformation = 118,    // about box's system-information button
    Version = 119,              // "Version |1"
    Credits = 120,              // development and graphics credits
    Toolchain = 121,            // compiler and Qt version
    GraphicsTool = 122,         // the graphics credit
    Licence = 124,              // the licence and the absence of warranty
    NoSystemInformation = 125,  // the system-information tool is missing
    TotalOneFile = 126,         // status line: one file
    TotalFiles = 127,           // status line: several files
    SelectedCaption = 128,      // folder dialog: the chosen folder's caption
    FoldersCaption = 129,       // folder dialog: the folder list's caption
    DrivesCaption = 130,        // folder dialog: the drive list's caption
    ShapePass = 132,            // scan step: shape files
    CreateSelection = 136,      // list menu: create the selected thumbnails
    CreateFinished = 137,       // a run of creations ended
    Creating = 138,             // creation progress: the vehicle being made
    CreateDone = 139,           // the selection's thumbnails are made
    CreateFailed = 140,         // creating the selection failed
    ConfirmationTitle = 142,    // overwrite question: title suffix
    ConfirmationFile = 143,     // overwrite question: the existing file
    ConfirmationQuestion = 144, // overwrite question: already there, what to do
    Replace = 145,              // answer: replace this once
    Keep = 146,                 // answer: keep this once
    ReplaceAll = 147,           // answer: replace for the rest of the run
    KeepAll = 148,              // answer: keep for the rest of the run
    ConfirmationChoice = 149,   // overwrite question: the answers' frame
    RamettaPathTitle = 153,     // Rametta folder dialog title
    ThumbnailsNote = 154,       // where thumbnails are made
    LegendRamettaFolder = 155,  // legend: found in Rametta's folder
    LegendBuiltIn = 156,        // legend: built into Rametta
    LegendMadeHere = 157,       // legend: made in the Thumbnails folder
    LegendToMake = 158,         // legend: still to make
    Copyright = 159,            // copyright line
    DeleteRamettaPath = 160,    // main window's forget-the-folder button
    AboutSubject = 207,         // about box: "Au sujet de |1"
    ShapeNotFound = 301,        // preview: no shape file
    ShapeUnreadable = 302,      // preview: the shape file cannot be read
    ShapeInvalid = 303,         // preview: the shape file is not a shape
    FreightNotFound = 304,      // freight shapes missing
    FreightUnreadable = 305,    // freight shapes unreadable
    NothingDrawn = 306,         // the vehicle drew nothing
    TextureNotFound = 307,      // a texture drawn grey: no such file
    TextureUnreadable = 308,    // a texture drawn grey: the file cannot be read
    TextureCorrupt = 309,       // a texture drawn grey: the file is not a texture
    TextureOverBudget = 310,    // a texture drawn grey: the picture's texture memory is spent
    InvalidShapeAt = 311,       // why a shape is invalid, and where in the file
    ThumbnailsElsewhere = 312,  // where thumbnails are made, when not beside the program
    ShapeOutside = 313,         // preview: the shape lies outside the simulator's folder
    TextureOutside = 314,       // a texture drawn grey: it lies outside the simulator's folder
    FreightOutside = 315,       // freight shapes outside the simulator's folder
    SelectStillToMake = 320,    // list menu: select the thumbnails still to make
    SelectAll = 321,            // list menu: select everything
    CreationTitle = 322,        // creation progress title
    CreationCount = 323,        // creation progress: "|1 sur |2"
    FailureCount = 324,         // failed vehicles
    MoreFailures = 325,         // and so many more
    CreationStopped = 326,      // run stopped part way
    // Remembered folders set aside at start, and a folder the dialogs cannot read
    RememberedFoldersIntro = 330,  // the first line: the folders are asked for again
    RememberedMstsFolder = 331,    // the simulator folder set aside, and why
    RememberedRamettaFolder = 332, // the Rametta folder set aside, and why
    FolderMissing = 333,           // why: no such folder
    FolderUnreadable = 334,        // why: the folder cannot be read
    FolderWithoutTrainset = 335,   // why: no TRAINS\TRAINSET in it
    FolderRefused = 336,           // folder dialog: the chosen folder cannot be read
    // Before creating a selection in which some vehicles share a thumbnail name
    SharedNamesFound = 340,    // how many of the selected vehicles share a name
    SharedNamesQuestion = 341, // what to do with a thumbnail already there
    SharedNamesReplace = 342,  // answer: replace, without asking
    SharedNamesKeep = 343,     // answer: keep, without asking
    SharedNamesAsk = 344,      // answer: ask each time
    // The failure list of a creation: each vehicle and why
    FailureLine = 350,        // one failed vehicle and why
    WhyShapeNotFound = 351,   // why: no shape file
    WhyShapeUnreadable = 352, // why: the shape file cannot be read
    WhyShapeInvalid = 353,    // why: the shape file is not a shape
    WhyNothingDrawn = 354,    // why: nothing of the vehicle was drawn
    WhyNoPicture = 355,       // why: no picture was written
    WhyNotWritten = 356,      // why: the folder refused the picture, and the reason
    WhyNotPlaced = 357,       // why: the thumbnail could not be placed, and the reason
    WhyShapeOutside = 358,    // why: the shape lies outside the simulator's folder
    WhyLengthRefused = 359,   // why: the Size length is past the longest vehicle
    // pictelle's own command line (--help), after the title line of pictelle-cli's usage
    WindowUsage = 360,        // usage of the window, with the folders for one run
    WindowUsageVersion = 361, // usage of --version
    WindowUsageHelp = 362,    // usage of --help
    // pictelle-cli: usage and refused arguments
    UsageTitle = 400,         // first line of the usage
    UsageList = 401,          // usage of list
    UsageRender = 402,        // usage of render, with what it draws
    UsageMake = 403,          // usage of make, with what --jobs does
    UsageVersion = 404,       // usage of --version
    UsageThumbnail = 405,     // usage of thumbnail, with what it draws
    UnknownCommand = 410,     // no such subcommand
    UnknownOption = 411,      // no such option
    RepeatedOption = 412,     // an option given twice
    MissingValue = 413,       // an option's value is missing at the end
    EmptyValue = 414,         // an option given an empty value
    UnexpectedValue = 415,    // a value given to an option that takes none
    UnexpectedArgument = 416, // a bare argument where none is taken
    // pictelle-cli: the folders list and make start from
    NoSimulatorFolder = 420, // no simulator folder anywhere
    NoTrainsetFolder = 421,  // the simulator folder lacks TRAINS\TRAINSET
    // pictelle-cli render
    RenderArguments = 430,       // the shape and the output file are not both given
    BadLength = 431,             // --length is not a number of metres
    BadZoom = 432,               // --zoom is out of range
    RenderShapeNotFound = 433,   // no shape file
    RenderShapeUnreadable = 434, // the shape file cannot be read
    RenderShapeInvalid = 435,    // the shape file is not a shape, and why
    DefinitionUnreadable = 436,  // the definition file cannot be read
    NoWagonShape = 437,          // the definition file names no shape
    NoTriangles = 438,           // the shape holds no triangle
    RenderNothingDrawn = 439,    // nothing of the shape was drawn
    CannotWrite = 440,           // the output file cannot be written
    RenderShapeOutside = 441,    // the shape lies outside the simulator's folder
    // pictelle-cli make: its options, its line per vehicle, its summary and progress
    BadJobs = 450,                    // --jobs is not a whole number of at least 1
    BadOverwrite = 451,               // --overwrite is not ask, always or never
    AskNeedsTerminal = 452,           // --overwrite ask without a terminal
    UnknownVehicle = 453,             // a named vehicle is not listed
    FolderNotMade = 454,              // the Thumbnails folder cannot be made
    VehicleCreated = 455,             // status: the thumbnail was placed
    VehicleReplaced = 456,            // status: the thumbnail replaced another
    VehicleKept = 457,                // status: the existing file was kept
    FailedNoPicture = 458,            // status: no picture was written
    FailedPlacing = 459,              // status: the thumbnail could not be put in place
    FailedShapeNotFound = 460,        // status: no shape file
    FailedShapeUnreadable = 461,      // status: the shape file cannot be read
    FailedShapeInvalid = 462,         // status: the shape file is not a shape, and why
    FailedDefinitionUnreadable = 463, // status: the definition file cannot be read
    FailedNothingDrawn = 464,         // status: the picture stayed empty
    FailedWriting = 465,              // status: the folder refused the picture, and why
    FailedPlacingBecause = 466,       // status: the thumbnail could not be placed, and why
    StoppedWriteRefused = 467,        // the run stops: the folder refuses every write
    MakeSummary = 468,                // the last line: counts and folder
    ProgressCount = 469,              // progress line: vehicles done of the total
    ProgressRate = 470,               // progress line: rate and time left
    AnswerPrompt = 471,               // overwrite question: the answer's prompt
    FailedShapeOutside = 472,         // status: the shape lies outside the simulator's folder
    TooManyJobs = 473,                // --jobs past the machine's limit
    FailedLengthRefused = 474,        // status: the Size length is past the longest vehicle
    StaleTemporariesRemoved = 475,    // pictures left by runs that died were removed
    LengthRefused = 476,              // render: the Size length is past the longest vehicle
    // pictelle-cli thumbnail
    ThumbnailArguments = 490,   // the size, the file and the output are not all given
    BadThumbnailSize = 491,     // -s is not a whole number of pixels in range
    ThumbnailUnknownKind = 492, // the file is no vehicle, shape or texture
    TextureNotFoundAt = 493,    // no texture file
    TextureUnreadableAt = 494,  // the texture file cannot be read
    TextureInvalidAt = 495,     // the file is not a texture
    TextureBlank = 496,         // every pixel of the texture is transparent
    // pictelle-cli: FreightAnim entries left out of a vehicle
    FreightAnimSkipped = 480,   // the line of the entry and why
    FreightAnimNoShape = 481,   // why: no shape named
    FreightAnimNoNumbers = 482, // why: numbers missing
    FreightAnimTooMany = 483,   // why: too many values
    FreightAnimNotNumber = 484, // why: a value is not a number
    FreightAnimNested = 485,    // why: a block inside the entry
    FreightAnimUnclosed = 486,  // why: a parenthesis left open
    FreightAnimPastLimit = 487, // why: past the limit of entries a vehicle (|1)
};

// Raised by LoadMessage for a number the table does not hold.
class MessageNotFound : public std::runtime_error {
public:
    explicit MessageNotFound(int number);
    int number() const { return number_; }

private:
    int number_;
};

// One value of LoadMessage's pairs list: a text, or a number that is used as its decimal text.
class MessageValue {
public:
    MessageValue(const QString& text) : text_(text) {}
    MessageValue(const char* utf8) : text_(QString::fromUtf8(utf8)) {}
    MessageValue(const char16_t* text) : text_(QString::fromUtf16(text)) {}
    MessageValue(int number) : text_(QString::number(number)) {}
    MessageValue(long number) : text_(QString::number(number)) {}
    MessageValue(long long number) : text_(QString::number(number)) {}
    MessageValue(unsigned number) : text_(QString::number(number)) {}
    MessageValue(unsigned long number) : text_(QString::number(number)) {}
    MessageValue(unsigned long long number) : text_(QString::number(number)) {}
    MessageValue(double number) : text_(QString::number(number)) {}

    const QString& text() const { return text_; }

private:
    QString text_;
};

// The text of message `number` with each marker of the pairs (marker, replacement, marker,
// replacement, ...) replaced everywhere. A replacement is not searched again for its own
// marker, but later pairs do search it; markers without a pair stay as they are, and an
// unpaired last value is ignored. Throws MessageNotFound for a number outside the table.
QString LoadMessage(MessageId id, std::initializer_list<MessageValue> pairs = {});
QString LoadMessage(MessageId id, const QList<MessageValue>& pairs);

// Whether the table holds `number`.
bool HasMessage(int number);

} // namespace app
