-- Character loops over a 100 KB string with sub, byte and #.
local function run()
  local base = "The quick brown fox jumps over the lazy dog. "
  local s = ""
  while #s < 100000 do s = s .. base end
  s = s:sub(1, 100000)
  local n = #s
  local total, vowels = 0, 0
  for _ = 1, 5 do
    for i = 1, n do
      local c = s:sub(i, i)
      total = total + c:byte()
      if c == "o" or c == "e" then vowels = vowels + 1 end
    end
  end
  return total .. " " .. vowels
end
print(run())
