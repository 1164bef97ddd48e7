-- gsub, find and splitting on a long string (plain text, no patterns).
local function split(text, separator)
  local parts, start = {}, 1
  while true do
    local at = string.find(text, separator, start, true)
    if not at then parts[#parts + 1] = text:sub(start); return parts end
    parts[#parts + 1] = text:sub(start, at - 1)
    start = at + #separator
  end
end
local function run()
  local pieces = {}
  for i = 1, 10000 do pieces[i] = "alpha,beta,gamma,delta;" end
  local s = table.concat(pieces)
  local total = 0
  for _ = 1, 20 do
    local t = s:gsub("beta", "BETA")
    local found = 0
    local position = string.find(t, "gamma", 1, true)
    while position do
      found = found + 1
      position = string.find(t, "gamma", position + 1, true)
    end
    local parts = split(t, ",")
    total = total + found + #parts + #t
  end
  return total
end
print(run())
