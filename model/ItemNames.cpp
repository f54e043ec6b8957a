#include "model/ItemNames.h"

#include "model/NameList.h"

// Every literal below ends with an explicit "\0"; with the literal's own
// terminator that makes the closing empty name.

const char VisibilityNames[] = "Default\0Always\0On Top Staff\0Never\0";
const char ColorNames[] = "Default\0Highlight 1\0Highlight 2\0Highlight 3\0";

const char ClefNames[] = "Treble Clef\0Bass Clef\0Alto Clef\0Tenor Clef\0";
const char OctaveShiftNames[] = "None\0Octave Up\0Octave Down\0";
const char TimeSignatureStyleNames[] = "Standard Signature\0Common Time\0Alla Breve\0";
const char BarLineNames[] =
    "Single\0Double\0Section Open\0Section Close\0Local Repeat Open\0Local Repeat Close\0"
    "Master Repeat Open\0Master Repeat Close\0";
const char StaffEndingNames[] = "Section Close\0Master Repeat Close\0Single\0Double\0Open (hidden)\0";

const char JustificationNames[] = "Left\0Center\0Right\0";
const char PlacementNames[] =
    "best fit\0before other staff signatures\0after other staff signatures\0at next note/bar\0";

const char TextFontNames[] =
    "Staff Italic\0Staff Bold\0Staff Lyric\0Page Title Text\0Page Text\0Page Small Text\0"
    "User 1\0User 2\0User 3\0User 4\0User 5\0User 6\0";
const char FlowDirectionNames[] =
    "Coda\0Segno\0Fine\0To Coda\0Da capo\0D.C. al Coda\0D.C. al Fine\0Dal Segno\0"
    "D.S. al Coda\0D.S. al Fine\0";
const char PerformanceStyleNames[] =
    "Ad Libitum\0Animato\0Cantabile\0Con brio\0Dolce\0Espressivo\0Grazioso\0Legato\0"
    "Maestoso\0Marcato\0Meno mosso\0Poco a poco\0Pi\xF9" " mosso\0Semplice\0Simile\0Solo\0"
    "Sostenuto\0Sotto Voce\0Staccato\0Subito\0Tenuto\0Tutti\0Volta Subito\0";
const char PerformanceStyleShortNames[] =
    "ad lib.\0animato\0cantabile\0con brio\0dolce\0espress.\0grazioso\0legato\0"
    "maestoso\0marc.\0meno mosso\0poco a poco\0pi\xF9" " mosso\0semplice\0simile\0solo\0"
    "sostenuto\0sotto voce\0staccato\0subito\0tenuto\0tutti\0volta subito\0";
const char TempoBaseNames[] =
    "Eighth\0Dotted Eighth\0Quarter\0Dotted Quarter\0Half\0Dotted Half\0";
const char OldTempoNames[] =
    "Largo\0Larghetto\0Adagio\0Lento\0Moderato\0Andante\0Andantino\0Allegretto\0"
    "Allegro\0Vivace\0Presto\0Prestissimo\0";
const char TempoVarianceNames[] =
    "Breath Mark\0Fermata\0Accelerando\0Allargando\0Rallentando\0Ritardando\0Ritenuto\0"
    "Rubato\0Stringendo\0";
const char TempoVarianceDisplay[] =
    "I\0y\0accel.\0allarg.\0rall.\0ritard.\0rit.\0rubato\0string.\0";
const char DynamicLevelNames[] =
    "Pianissimo (ppp)\0Pianissimo\0Piano\0Mezzo piano\0Mezzo forte\0Forte\0Fortissimo\0"
    "Fortissimo (fff)\0";
const char DynamicLevelDisplay[] = "ppp\0pp\0p\0mp\0mf\0f\0ff\0fff\0";
const char DynamicVarianceNames[] =
    "Crescendo\0Decrescendo\0Diminuendo\0Rinforzando\0Sforzando\0";
const char DynamicVarianceDisplay[] = "cresc.\0decresc.\0dim.\0rfz\0sfz\0";
const char ControllerNames[] =
    "Tempo\0Volume\0Stereo Pan\0Breath Control\0Pitch Bend\0Modulation Wheel\0"
    "Foot Controller\0Portamento Time\0Data Entry MSB\0Balance\0Expression\0"
    "Effect Controller 1\0Effect Controller 2\0Effects (Reverb) Depth\0Tremolo Depth\0"
    "Chorus Depth\0Celeste Detune Depth\0Phaser Depth\0";
const char ControllerShortNames[] =
    "tempo\0vol\0pan\0bc\0pitch\0mod-wheel\0foot-ctrl\0portamento\0data-entry-msb\0bal\0"
    "expression\0effect1\0effect2\0reverb\0tremolo\0chorus\0detune\0phaser\0";
const char ControlModeNames[] = "Absolute\0Linear Sweep\0";
const char PedalStateNames[] = "Pedal Released\0Pedal Down\0";

const int ControllerMidiNumbers[ControllerCount] = {
    -1, 7, 10, 2, -1, 1, 4, 5, 6, 8, 11, 12, 13, 91, 92, 93, 94, 95,
};

const char* OldTempoName(int index)
{
    index &= 15;
    return NameListLookup(OldTempoNames, index >= 12 ? 0 : index);
}

const char* PedalStateName(int state)
{
    return NameListLookup(PedalStateNames, state ? 1 : 0);
}
