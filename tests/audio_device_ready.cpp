// Opens and closes the default audio device once before any test that plays.
// Wine registers its audio endpoints on the first use in a new prefix, and two
// programs doing that at the same moment can see no device at all.
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>

int main() {
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 44100;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = 44100 * 4;
    HWAVEOUT device = nullptr;
    const MMRESULT result = waveOutOpen(&device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL);
    std::printf("devices: %u, open: %u\n", waveOutGetNumDevs(), result);
    if (result != MMSYSERR_NOERROR) return 1;
    waveOutClose(device);
    return 0;
}
