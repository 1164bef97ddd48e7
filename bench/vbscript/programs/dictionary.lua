-- A table with string and number keys: adding, reading, testing.
local function run()
  local d, count = {}, 0
  for i = 1, 100000 do
    d["k" .. i] = i
    d[i] = i * 2
    count = count + 2
  end
  local total = 0
  for _ = 1, 3 do
    for i = 1, 100000 do
      total = total + d["k" .. i] + d[i]
      if d[i + 100000] ~= nil then total = total + 1 end
    end
  end
  return total .. " " .. count
end
print(run())
