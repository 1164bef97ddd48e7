-- A table grown one element at a time, then read and written by index.
local function run()
  local a = {[0] = 0}
  local n = 0
  for i = 1, 200000 do
    n = i
    a[i] = i % 100
  end
  local total = 0
  for _ = 1, 5 do
    for i = 0, n do
      total = total + a[i]
      a[i] = a[i] + 1
    end
  end
  return total
end
print(run())
