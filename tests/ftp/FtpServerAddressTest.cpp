#include "ftp/FtpServerAddress.h"

#include <gtest/gtest.h>

namespace {

struct SAddressCase {
    const char* field;
    EFtpProtocol protocol;
    const char* host;
    uint16_t port;
    const char* urlPrefix;
};

// Names the row in test listings.
void PrintTo(const SAddressCase& row, std::ostream* out) {
    *out << '"' << row.field << '"';
}

const SAddressCase kValidCases[] = {
    {"ftp.example.com", EFtpProtocol::Ftp, "ftp.example.com", 21, "ftp://ftp.example.com:21"},
    {" ftp.example.com ", EFtpProtocol::Ftp, "ftp.example.com", 21, "ftp://ftp.example.com:21"},
    {"127.0.0.1:2121", EFtpProtocol::Ftp, "127.0.0.1", 2121, "ftp://127.0.0.1:2121"},
    {"ftp://host/", EFtpProtocol::Ftp, "host", 21, "ftp://host:21"},
    {"FTPES://host", EFtpProtocol::FtpExplicitTls, "host", 21, "ftp://host:21"},
    {"ftps://host", EFtpProtocol::FtpImplicitTls, "host", 990, "ftps://host:990"},
    {"ftps://host:2990", EFtpProtocol::FtpImplicitTls, "host", 2990, "ftps://host:2990"},
    {"sftp://host", EFtpProtocol::Sftp, "host", 22, "sftp://host:22"},
    {"sftp://[::1]:2222", EFtpProtocol::Sftp, "::1", 2222, "sftp://[::1]:2222"},
    {"[fe80::1]", EFtpProtocol::Ftp, "fe80::1", 21, "ftp://[fe80::1]:21"},
};

class FtpServerAddressValidTest : public testing::TestWithParam<SAddressCase> {};

TEST_P(FtpServerAddressValidTest, GivesProtocolHostAndPort) {
    const SAddressCase& row = GetParam();
    SFtpServerAddress address;
    std::string error;
    ASSERT_TRUE(SFtpServerAddress::Parse(row.field, address, error)) << error;
    EXPECT_EQ(address.protocol, row.protocol);
    EXPECT_EQ(address.host, row.host);
    EXPECT_EQ(address.port, row.port);
    EXPECT_EQ(address.UrlPrefix(), row.urlPrefix);
}

INSTANTIATE_TEST_SUITE_P(Rows, FtpServerAddressValidTest, testing::ValuesIn(kValidCases));

struct SRefusedCase {
    const char* field;
    const char* message;
};

// Names the row in test listings.
void PrintTo(const SRefusedCase& row, std::ostream* out) {
    *out << '"' << row.field << '"';
}

const SRefusedCase kRefusedCases[] = {
    {"", "no server is given"},
    {"   ", "no server is given"},
    {"http://host", "unknown protocol"},
    {"ftp://user@host", "user name"},
    {"ftp://host/updates/", "holds a path"},
    {"host:0", "is not a host"},
    {"host:65536", "is not a host"},
    {"host:21x", "is not a host"},
    {"host:", "is not a host"},
    {"::1", "is not a host"},
    {"[::1", "is not a host"},
    {"ho st", "is not a host"},
    {"ftp://", "is not a host"},
};

class FtpServerAddressRefusedTest : public testing::TestWithParam<SRefusedCase> {};

TEST_P(FtpServerAddressRefusedTest, SaysWhatIsWrong) {
    const SRefusedCase& row = GetParam();
    SFtpServerAddress address;
    address.host = "kept";
    std::string error;
    EXPECT_FALSE(SFtpServerAddress::Parse(row.field, address, error));
    EXPECT_NE(error.find(row.message), std::string::npos) << error;
    EXPECT_EQ(address.host, "kept");
}

INSTANTIATE_TEST_SUITE_P(Rows, FtpServerAddressRefusedTest, testing::ValuesIn(kRefusedCases));

} // namespace
