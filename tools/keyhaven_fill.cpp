// keyhaven-fill: fills a database made by keyhaven-newdb with made-up but realistic account
// records, enciphered under the file's database key, for measuring the program at scale.
#include <charconv>
#include <chrono>
#include <cstdint>
#include <iostream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "crypto/database_key.h"
#include "crypto/protected_field.h"
#include "store/connection.h"
#include "store/query.h"
#include "store/statements.h"
#include "store/store_error.h"

namespace {

constexpr std::string_view kUsage = "usage: keyhaven-fill --records N [--seed S] PATH";

struct Options {
  long records = -1;
  std::uint64_t seed = 1;
  std::string path;
};

template <typename Number>
bool ParseNumber(std::string_view text, Number& out) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size();
}

bool ParseArguments(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--records" || argument == "--seed") {
      if (++i >= argc) return false;
      const bool parsed = argument == "--records" ? ParseNumber(argv[i], options.records) && options.records >= 0
                                                  : ParseNumber(argv[i], options.seed);
      if (!parsed) return false;
    } else if (argument.starts_with("-") || argument.empty() || !options.path.empty()) {
      return false;
    } else {
      options.path = argument;
    }
  }
  return options.records >= 0 && !options.path.empty();
}

// Fifty names of at least four characters, none equal to another ignoring case.
const std::vector<std::string> kCategories = {
    "网上银行账户",    "电子邮箱账户",   "社交网络账户",   "网络游戏账户",     "网上购物网站",  "视频网站会员",
    "音乐网站会员",    "论坛社区账户",   "云盘存储服务",   "办公系统账户",     "学习平台账户",  "政务服务平台",
    "手机运营商网",    "航空公司会员",   "酒店预订网站",   "火车票务账户",     "外卖点餐平台",  "打车出行平台",
    "证券交易账户",    "保险公司账户",   "信用卡管理网",   "路由器与设备",     "服务器主机",    "数据库账户",
    "域名注册服务",    "开发工具账户",   "博客写作平台",   "新闻资讯网站",     "Work Email",    "Personal Mail",
    "Online Banking",  "Shopping Sites", "Social Media",   "Gaming Accounts",  "Cloud Storage", "Developer Tools",
    "Streaming Video", "Music Services", "Travel Booking", "Utilities Bills",  "Home Network",  "VPN Services",
    "Web Hosting",     "Domain Names",   "Forums Boards",  "Company Intranet", "School Portal", "Health Insurance",
    "Crypto Wallets",  "Misc Accounts"};

const std::vector<std::string_view> kChineseWords = {
    "登录", "账户", "中心", "会员", "管理", "平台", "服务", "个人", "企业", "银行", "邮箱", "网站", "官方", "客户端",
    "安全", "设置", "密码", "找回", "问题", "答案", "手机", "号码", "绑定", "验证", "备用", "地址", "家庭", "公司",
    "工作", "学习", "购物", "旅行", "记录", "重要", "提醒", "每月", "续费", "到期", "日期", "联系", "客服", "电话"};

const std::vector<std::string_view> kEnglishWords = {
    "mail",  "bank",   "shop",   "cloud",  "game",  "music", "video", "forum",  "admin",  "portal", "secure",
    "login", "market", "travel", "hotel",  "drive", "photo", "news",  "office", "school", "health", "wallet",
    "home",  "router", "server", "backup", "cloud", "dev",   "code",  "store",  "ticket", "pay"};

const std::vector<std::string_view> kDomains = {".com", ".cn", ".net", ".org", ".com.cn", ".io"};

class Generator {
 public:
  explicit Generator(std::uint64_t seed) : random_(seed) {}

  int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool chance(double p) { return std::bernoulli_distribution(p)(random_); }
  template <typename T>
  const T& pick(const std::vector<T>& items) {
    return items[static_cast<std::size_t>(uniform(0, static_cast<int>(items.size()) - 1))];
  }

  // A few categories hold most records, as in a real collection.
  const std::string& category() {
    const double u = std::uniform_real_distribution<double>(0.0, 1.0)(random_);
    const auto index = static_cast<std::size_t>(u * u * static_cast<double>(kCategories.size()));
    return kCategories[index];
  }

  std::string words(const std::vector<std::string_view>& from, int count, std::string_view separator) {
    std::string out;
    for (int i = 0; i < count; ++i) {
      if (i > 0) out += separator;
      out += pick(from);
    }
    return out;
  }

  std::string site() { return words(kEnglishWords, uniform(1, 2), "") + std::to_string(uniform(1, 999)); }

  std::string title() {
    if (chance(0.5)) return words(kChineseWords, uniform(2, 5), "");
    std::string name = site();
    name[0] = static_cast<char>(name[0] - 'a' + 'A');
    name += ' ';
    name += words(kEnglishWords, uniform(1, 3), " ");
    return name;
  }

  // Built by appending: GCC 12 warns falsely about "literal" + std::string temporaries.
  std::string address() {
    std::string out;
    if (chance(0.1)) return out;
    out += chance(0.7) ? "https://" : "http://";
    if (chance(0.5)) out += "www.";
    out += site();
    out += pick(kDomains);
    if (chance(0.5)) {
      out += '/';
      out += words(kEnglishWords, uniform(1, 3), "/");
    }
    return out;
  }

  std::string account() {
    std::string out;
    switch (uniform(0, 3)) {
      case 0:
        out += words(kEnglishWords, 1, "");
        out += std::to_string(uniform(1, 99999));
        out += '@';
        out += site();
        out += pick(kDomains);
        break;
      case 1:
        out += '1';
        out += std::to_string(uniform(30, 89));
        out += std::to_string(uniform(10000000, 99999999));
        break;
      case 2:
        out += words(kChineseWords, uniform(1, 2), "");
        out += std::to_string(uniform(1, 9999));
        break;
      default:
        out += words(kEnglishWords, uniform(1, 2), "_");
        out += std::to_string(uniform(1, 9999));
        break;
    }
    return out;
  }

  std::string password() {
    static constexpr std::string_view kCharacters =
        "abcdefghijkmnopqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789!@#$%^&*-_=+?";
    std::string out;
    const int length = uniform(8, 24);
    for (int i = 0; i < length; ++i)
      out += kCharacters[static_cast<std::size_t>(uniform(0, static_cast<int>(kCharacters.size()) - 1))];
    return out;
  }

  std::string note() {
    if (chance(0.4)) return {};
    std::string out;
    const int lines = uniform(1, 4);
    for (int i = 0; i < lines; ++i) {
      if (i > 0) out += "\n";
      const bool chinese = chance(0.6);
      out += chinese ? words(kChineseWords, uniform(3, 12), "") : words(kEnglishWords, uniform(3, 10), " ");
      out += chinese ? "：" : " ";
      out += std::to_string(uniform(1, chinese ? 99999 : 9999));
    }
    return out;
  }

  // Most records are seldom picked, a few very often.
  int uses() {
    if (chance(0.5)) return 0;
    return static_cast<int>(std::exponential_distribution<double>(0.05)(random_));
  }

 private:
  std::mt19937_64 random_;
};

std::string ConnectionStringFor(const std::string& path) {
  return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path +
         ";Persist Security Info=False;Jet OLEDB:Database Password=" + std::string(store::kDatabasePassword);
}

// The key of the file, drawn and stored first when it has none, as the program's start does.
std::string DatabaseKey(store::Connection& connection) {
  store::Query query(connection);
  query.addSql(store::sql::SelectDatabaseKey());
  query.open();
  if (std::string key = query.field(0); !key.empty() && key != "0") return key;
  query.clearSql();
  query.addSql(store::sql::UpdateDatabaseKey(crypto::DrawDatabaseKeyText()));
  query.execSql();
  query.clearSql();
  query.addSql(store::sql::SelectDatabaseKey());
  query.open();
  return query.field(0);
}

std::string UsesOfNewestRecord(int uses) {
  std::string statement = "update data set 统计=";
  statement += std::to_string(uses);
  statement += " where 编号=(select max(编号) from data)";
  return statement;
}

void Fill(store::Connection& connection, const Options& options) {
  const std::string key = DatabaseKey(connection);
  Generator generate(options.seed);
  store::Query query(connection);
  auto run = [&query](const std::string& statement) {
    query.clearSql();
    query.addSql(statement);
    query.execSql();
  };
  // One transaction: a commit per record would make large fills take minutes.
  run("begin");
  try {
    for (long i = 0; i < options.records; ++i) {
      const std::string category = generate.category();
      run(store::sql::InsertRecord({category, generate.title(), generate.address(), generate.account(),
                                    crypto::ProtectField(generate.password(), key),
                                    crypto::ProtectField(generate.note(), key)}));
      if (const int uses = generate.uses(); uses > 0) run(UsesOfNewestRecord(uses));
    }
    run("commit");
  } catch (...) {
    // The original error is the one to report; a failed rollback leaves nothing committed either.
    try {
      run("rollback");
    } catch (const store::StoreError&) {
    }
    throw;
  }
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseArguments(argc, argv, options)) {
    std::cerr << kUsage << '\n';
    return 2;
  }
  try {
    const auto start = std::chrono::steady_clock::now();
    store::Connection connection;
    connection.setConnectionString(ConnectionStringFor(options.path));
    Fill(connection, options);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::cout << "keyhaven-fill: " << options.records << " records in " << options.path << " (" << took.count()
              << " s)\n";
  } catch (const std::exception& error) {
    std::cerr << "keyhaven-fill: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
