#include <gtest/gtest.h>

#include <fstream>

#include "hosts.h"

using namespace tavlo;

TEST(Hosts, FileOverlaysTheDefaultsAndRoundTrips) {
  char tmpl[] = "/tmp/tavlo-hostsXXXXXX";
  const std::string dir = mkdtemp(tmpl);
  const std::string path = dir + "/hosts.ini";
  EXPECT_EQ(read_hosts_file(path).site[2], Hosts{}.site[2]);  // no file: defaults
  std::ofstream(path) << "[Hosts]\nsite3 = 127.0.0.9:1234\nupdate_page=http://u/x.html\n";
  Hosts h = read_hosts_file(path);
  EXPECT_EQ(h.site[2], "127.0.0.9:1234");
  EXPECT_EQ(h.update_page, "http://u/x.html");
  EXPECT_EQ(h.passport, Hosts{}.passport);

  h.ca_file = dir + "/ca.pem";
  h.maker = "localhost:8";
  const std::string out = dir + "/out.ini";
  ASSERT_TRUE(write_hosts_file(out, h));
  Hosts back = read_hosts_file(out);
  EXPECT_EQ(back.maker, "localhost:8");
  EXPECT_EQ(back.ca_file, dir + "/ca.pem");
  EXPECT_EQ(back.site[2], "127.0.0.9:1234");
  EXPECT_EQ(back.live_tv, h.live_tv);
}
