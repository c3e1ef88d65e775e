# Loud or quiet blocks of a recording of the sound output, with what the sound server inserted
# taken out. Input: one signed 16-bit frame a line (od -An -v -td2 -w2). Variables: frames (per
# block), loud (the peak a loud block exceeds).
#
# When the player's stream runs dry (its thread was not scheduled in time on a loaded machine),
# the server plays exact zeros and the stream goes on where it stopped afterwards. The program's
# own silence never starts that way: every sample ends quietly, and a sample cut by the next one
# fades out under it. So a run of at least 32 zero frames right after a frame louder than 1000
# is silence the server inserted, and it is left out before the blocks are counted: the blocks
# then say what the program played, wherever load moved it.
#
# Output: the blocks as one line of 1 (loud) and 0 (quiet), then a line
# "dropouts N MS" (how many such runs, and how long they lasted together).
function flush_zeros() {
  if (zeros >= 32 && abrupt) {
    dropouts++
    dropped += zeros
  } else {
    for (z = 0; z < zeros; z++) add(0)
  }
  zeros = 0
}
function add(v) {
  if (v > peak) peak = v
  if (++inblock == frames) {
    line = line (peak > loud ? "1" : "0")
    peak = 0
    inblock = 0
  }
}
{
  v = $1 < 0 ? -$1 : $1
  if (v == 0) {
    if (zeros == 0) abrupt = (last > 1000)
    zeros++
    next
  }
  if (zeros > 0) flush_zeros()
  add(v)
  last = v
}
END {
  if (zeros > 0) {
    # Silence at the very end is the program's (or the recording's) own.
    abrupt = 0
    flush_zeros()
  }
  if (inblock > 0) line = line (peak > loud ? "1" : "0")
  print line
  printf "dropouts %d %.1f\n", dropouts, dropped / 44.1
}
