// The calendar's date arithmetic for any year, month and day number: the
// result is a real date, the next day number is the next date, weekdays run
// on, and within the C runtime's range it agrees with timegm.
#include "almanac/text.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static bool IsLeap(long long Y) { return (Y % 4 == 0 && Y % 100 != 0) || Y % 400 == 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size) {
  if (Size < 12) return 0;
  int32_t In[3];
  memcpy(In, Data, sizeof In);
  // Every month and day number; years as far as the normalised year still
  // fits an int.
  int Y = In[0] % (1 << 30), M = In[1], D = In[2];
  if (Size > 12 && (Data[12] & 1)) Y = 1970 + (int)((unsigned)In[0] % 68), M %= 40, D %= 1000;

  int NY = NormalYear(Y, M, D), NM = NormalMonth(Y, M, D), ND = NormalDay(Y, M, D);
  if (NM < 1 || NM > 12) abort();
  int Days = DaysInMonth(NY, NM);
  static const int Lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Days != Lengths[NM - 1] + (NM == 2 && IsLeap(NY))) abort();
  if (ND < 1 || ND > Days) abort();
  // A date in its normal form stays as it is.
  if (NormalYear(NY, NM, ND) != NY || NormalMonth(NY, NM, ND) != NM || NormalDay(NY, NM, ND) != ND)
    abort();

  if (D < INT32_MAX) {
    int W = IsoWeekday(Y, M, D), Next = IsoWeekday(Y, M, D + 1);
    if (W < 1 || W > 7 || Next != W % 7 + 1) abort();
    int TY = NormalYear(Y, M, D + 1), TM = NormalMonth(Y, M, D + 1), TD = NormalDay(Y, M, D + 1);
    bool NewMonth = ND == Days;
    int WantM = NewMonth ? NM % 12 + 1 : NM;
    int WantY = NewMonth && NM == 12 ? NY + 1 : NY;
    if (TD != (NewMonth ? 1 : ND + 1) || TM != WantM || TY != WantY) abort();
  }

  struct tm Time;
  memset(&Time, 0, sizeof Time);
  SetDate(&Time, Y, M, D);
  if ((long long)Time.tm_year + 1900 != NY || Time.tm_mon != NM - 1 || Time.tm_mday != ND) abort();
  if (Time.tm_wday != IsoWeekday(NY, NM, ND) % 7) abort();
  int YDay = 0;
  for (int I = 1; I < NM; I++) YDay += DaysInMonth(NY, I);
  if (Time.tm_yday != YDay + ND - 1) abort();

  if (Y >= 1902 && Y <= 2037 && M > -1000 && M < 1000 && D > -100000 && D < 100000) {
    struct tm Model;
    memset(&Model, 0, sizeof Model);
    Model.tm_year = Y - 1900;
    Model.tm_mon = M - 1;
    Model.tm_mday = D;
    Model.tm_hour = 12;
    timegm(&Model);
    if (Model.tm_year != Time.tm_year || Model.tm_mon != Time.tm_mon ||
        Model.tm_mday != Time.tm_mday || Model.tm_wday != Time.tm_wday ||
        Model.tm_yday != Time.tm_yday)
      abort();
  }
  return 0;
}
