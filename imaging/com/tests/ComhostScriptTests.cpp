// The component driven the way hosts drive it: comhost scripts, late-bound by name through
// IDispatch and the registered type library.
#include "ComTestSupport.h"

#include <cstdio>
#include <fstream>
#include <sys/wait.h>

namespace {

class Scripts : public RegisteredComponent {
protected:
    // Runs the script through comhost; returns standard output and error together.
    std::string run(const std::string& script) {
        std::string path = folder + "/script.txt";
        std::ofstream(path) << script;
        FILE* pipe = popen((std::string(COMHOST) + " " + path + " 2>&1").c_str(), "r");
        std::string output;
        char buffer[4096];
        std::size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
        int raw = pclose(pipe);
        status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        return output;
    }
    int status = -1;
};

} // namespace

TEST_F(Scripts, AFreshObjectFailsWithNoImageButAnswersHasImage) {
    EXPECT_EQ(run("Set img = CreateObject(\"VrnImagingCom2.vrnImaging2\")\n"
                  "Print img.ImageWidth\n"
                  "Print img.HasImage\n"
                  "Print img.Posterize(4)\n"),
              "error 0x80040206: No image loaded\n"
              "0\n"
              "error 0x80040200: Not implemented\n");
    EXPECT_EQ(status, 1);
}

TEST_F(Scripts, CreateTransformAndReadBack) {
    EXPECT_EQ(run(R"(Set img = CreateObject("VrnImagingCom2.vrnImaging2.1")
img.CreateImage 3, 2, 8, icGray
img.WriteScanLine 0, Bytes("010203")
img.WriteScanLine 1, Bytes("0a0b0c")
img.FlipX
Print img.ReadScanLine(0)
img.Compression = icZipFlate
Print img.Compression
img.XResolution = 2834.6
Print img.XResolution
Print img.ReadRectangle(1, 2, 0, 2)
img.WriteRectangle 0, 1, 0, 2, Bytes("ffee")
Print img._x
img.Rotate 90, iiNearest
Print img.ImageWidth, img.ImageHeight
)"),
              // the last line is a script error: Print takes one value
              "030201\n"
              "5\n"
              "2834.6\n"
              "02010b0a\n"
              "ff0201ee0b0a "
              "0300000002000000080000000000000000000000000000000000000005000000"
              "333333333325a64000000000000000000000000000ffffffffffffffff\n"
              "comhost: line 15: unexpected ','\n");
    EXPECT_EQ(status, 1);
}

TEST_F(Scripts, BadByteArraysAndFailedOperationsKeepTheImage) {
    EXPECT_EQ(run(R"(Set img = CreateObject("VrnImagingCom2.vrnImaging2")
img.CreateImage 4, 1, 8, icGray
img.WriteScanLine 0, "0a0b0c0d"
img.WriteScanLine 0, Bytes("0a0b0c")
img.WriteScanLine 5, Bytes("0a0b0c0d")
img.Crop 1, 0, 4, 1
img.CreateImage 4, 4, 1, icRGB
Print img.ImageWidth
Print img.ReadPalette
img.Resize 4, 4, 7
Print img.ImageHeight
)"),
              "error 0x80040201: Invalid data - byte array required\n"
              "error 0x80040201: Invalid data length - must be equal to one image line\n"
              "error 0x80040202: Writing data outside bounds of image\n"
              "error 0x80040202: Crop box outside image boundary\n"
              "error 0x80040201: Bit depth of 1 is only supported for Gray images\n"
              "4\n"
              "error 0x80040204: Only indexed images can use this method\n"
              "error 0x80040201: Unknown interpolation mode\n"
              "1\n");
    EXPECT_EQ(status, 1);
}

TEST_F(Scripts, CopyFromAnotherObject) {
    EXPECT_EQ(run(R"(Set img = CreateObject("VrnImagingCom2.vrnImaging2")
Set other = CreateObject("VrnImagingCom2.vrnImaging2")
other.CopyFrom img
img.CreateImage 640, 480, 8, icRGB
img.SetChannelName 2, "Bl" & "ue"
other.CopyFrom img
Print other.ImageWidth
Print other.GetChannelName(0)
Print other.ColorsPerPixel
)"),
              "error 0x80040206: No image loaded\n"
              "comhost: line 5: unexpected character '&'\n"
              "640\n"
              "Red\n"
              "3\n");
}
